/* FindFirstFile/FindNextFile without the desktop's "." and ".." entries and links. */
#include "platform/folder_listing.h"

static bool IsLink(DWORD attributes)
{
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

static bool IsHidden(const WIN32_FIND_DATAW *entry)
{
    const WCHAR *n = entry->cFileName;
    bool dot = n[0] == L'.' && (n[1] == 0 || (n[1] == L'.' && n[2] == 0));
    return dot || IsLink(entry->dwFileAttributes);
}

BOOL PlatformFindNextEntry(HANDLE listing, WIN32_FIND_DATAW *entry)
{
    while (FindNextFileW(listing, entry)) {
        if (!IsHidden(entry))
            return TRUE;
    }
    return FALSE;
}

HANDLE PlatformFindFirstEntry(const WCHAR *pattern, WIN32_FIND_DATAW *entry)
{
    HANDLE listing = FindFirstFileW(pattern, entry);
    if (listing == INVALID_HANDLE_VALUE || !IsHidden(entry))
        return listing;
    if (PlatformFindNextEntry(listing, entry))
        return listing;
    /* Nothing but hidden entries: an empty folder. */
    FindClose(listing);
    SetLastError(ERROR_NO_MORE_FILES);
    return INVALID_HANDLE_VALUE;
}

/* The root of a drive: the device's store itself. Wine reports it as a
 * reparse point (the drive letter is a link on the host), yet it leads
 * nowhere but into the store, as the handheld's root does. */
static bool IsDriveRoot(const WCHAR *path)
{
    WCHAR full[MAX_PATH];
    DWORD length = GetFullPathNameW(path, MAX_PATH, full, NULL);
    return length == 3 && full[1] == L':' && full[2] == L'\\';
}

bool PlatformEntryExists(const WCHAR *path)
{
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (!IsLink(attributes) || IsDriveRoot(path));
}
