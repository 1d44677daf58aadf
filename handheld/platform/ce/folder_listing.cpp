/*
 * Folder listings on the handheld: its store has no "." or ".." entries and
 * no links, so the system's own listing is already what callers expect.
 */
#include "platform/folder_listing.h"

HANDLE PlatformFindFirstEntry(const WCHAR *pattern, WIN32_FIND_DATAW *entry)
{
    return FindFirstFileW(pattern, entry);
}

BOOL PlatformFindNextEntry(HANDLE listing, WIN32_FIND_DATAW *entry)
{
    return FindNextFileW(listing, entry);
}

bool PlatformEntryExists(const WCHAR *path)
{
    return GetFileAttributesW(path) != 0xFFFFFFFF;
}
