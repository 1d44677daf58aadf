/*
 * Folder purge over one shared path buffer: each level appends its entry
 * names to the buffer and cuts them off again, so memory grows with the
 * depth of the tree, never with the number of files in it.
 */
#include "engine/folder_purge.h"
#include "engine/cleaning_state.h"
#include "platform/bounded_text.h"
#include "platform/folder_listing.h"

bool IsLinkEntry(DWORD attributes)
{
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

/* Purges the folder named by path[0..length) and counts it as scanned.
 * path holds PATH_CHARS characters; on return it is cut back to length. */
static void PurgeLevel(WCHAR *path, size_t length)
{
    g_stats.foldersScanned++;

    /* The listing pattern is the folder, a backslash and "*.*". */
    static const WCHAR pattern[] = L"\\*.*";
    if (length + ARRAYSIZE(pattern) > PATH_CHARS)
        return;
    memcpy(path + length, pattern, sizeof(pattern));
    WIN32_FIND_DATAW entry;
    HANDLE listing = FindFirstEntry(path, &entry);
    path[length] = 0;
    if (listing == INVALID_HANDLE_VALUE)
        return;

    do {
        if (IsLinkEntry(entry.dwFileAttributes))
            continue;
        /* An entry whose full path would pass 259 characters is skipped. */
        size_t nameLength = lstrlenW(entry.cFileName);
        size_t entryLength = length + 1 + nameLength;
        if (entryLength >= PATH_CHARS)
            continue;
        path[length] = L'\\';
        memcpy(path + length + 1, entry.cFileName, (nameLength + 1) * sizeof(WCHAR));

        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            PurgeLevel(path, entryLength);
            if (RemoveDirectoryW(path))
                g_stats.foldersDeleted++;
        } else if (IsOldEnough(entry.ftLastWriteTime, g_ageCutoff)) {
            if (DeleteFileW(path)) {
                g_stats.filesDeleted++;
                g_stats.bytesReclaimed += entry.nFileSizeLow;
            } else {
                g_stats.filesUsedBySystem++;
            }
        }
        path[length] = 0;
    } while (FindNextEntry(listing, &entry));

    FindClose(listing);
}

void PurgeFolder(const WCHAR *folder)
{
    DWORD attributes = GetFileAttributesW(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    /* A target that is itself a link is left alone, as links inside targets are. */
    if (IsLinkEntry(attributes))
        return;
    WCHAR path[PATH_CHARS];
    if (!CopyText(path, PATH_CHARS, folder))
        return;
    PurgeLevel(path, lstrlenW(path));
}

void WindowsTempTarget(const WCHAR *reported, DWORD reportedLength, WCHAR *path)
{
    if (reportedLength == 0 || reportedLength >= PATH_CHARS || !CopyText(path, PATH_CHARS, reported)) {
        CopyText(path, PATH_CHARS, L"\\Temp");
        return;
    }
    size_t n = lstrlenW(path);
    if (n > 0 && path[n - 1] == L'\\')
        path[n - 1] = 0;
}

void PurgeWindowsTempFolder(void)
{
    WCHAR reported[PATH_CHARS];
    WCHAR path[PATH_CHARS];
    DWORD length = GetTempPathW(PATH_CHARS, reported);
    WindowsTempTarget(reported, length, path);
    PurgeFolder(path);
}
