/* The shared depth-first walk of the purge and the shortcut sweep. */
#include "engine/folder_walk.h"
#include "engine/cleaning_state.h"
#include "common/bounded_text.h"
#include "platform/folder_listing.h"

bool IsLinkEntry(DWORD attributes)
{
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

/* Walks the folder named by path[0..length) and counts it as scanned.
 * path holds PATH_CHARS characters; on return it is cut back to length. */
static void WalkLevel(WCHAR *path, size_t length, const FolderWalk &walk)
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
        size_t nameLength = lstrlenW(entry.cFileName);
        size_t entryLength = length + 1 + nameLength;
        if (entryLength >= PATH_CHARS)
            continue;
        path[length] = L'\\';
        memcpy(path + length + 1, entry.cFileName, (nameLength + 1) * sizeof(WCHAR));

        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            WalkLevel(path, entryLength, walk);
            if (walk.subfolderDone)
                walk.subfolderDone(path);
        } else {
            walk.file(path, entry);
        }
        path[length] = 0;
    } while (FindNextEntry(listing, &entry));

    FindClose(listing);
}

void WalkFolder(const WCHAR *folder, const FolderWalk &walk)
{
    DWORD attributes = GetFileAttributesW(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || IsLinkEntry(attributes))
        return;
    WCHAR path[PATH_CHARS];
    if (!CopyText(path, PATH_CHARS, folder))
        return;
    WalkLevel(path, lstrlenW(path), walk);
}
