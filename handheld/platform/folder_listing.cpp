/* FindFirstFile/FindNextFile without the desktop's "." and ".." entries. */
#include "platform/folder_listing.h"

static bool IsDotEntry(const WIN32_FIND_DATAW *entry)
{
    const WCHAR *n = entry->cFileName;
    return n[0] == L'.' && (n[1] == 0 || (n[1] == L'.' && n[2] == 0));
}

BOOL FindNextEntry(HANDLE listing, WIN32_FIND_DATAW *entry)
{
    while (FindNextFileW(listing, entry)) {
        if (!IsDotEntry(entry))
            return TRUE;
    }
    return FALSE;
}

HANDLE FindFirstEntry(const WCHAR *pattern, WIN32_FIND_DATAW *entry)
{
    HANDLE listing = FindFirstFileW(pattern, entry);
    if (listing == INVALID_HANDLE_VALUE || !IsDotEntry(entry))
        return listing;
    if (FindNextEntry(listing, entry))
        return listing;
    /* Nothing but dot entries: an empty folder. */
    FindClose(listing);
    SetLastError(ERROR_NO_MORE_FILES);
    return INVALID_HANDLE_VALUE;
}
