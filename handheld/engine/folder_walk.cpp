/*
 * The shared depth-first walk of the purge and the shortcut sweep. It keeps
 * no find record per level: one record and one path buffer serve the whole
 * tree, and each open level holds only its listing handle and the length of
 * its path, in a fixed array sized for the deepest tree a path can name. The
 * walk's stack therefore stays the same however deep the tree goes, which
 * matters on a handheld whose threads have 64 KiB.
 */
#include "engine/folder_walk.h"
#include "engine/cleaning_state.h"
#include "platform/bounded_text.h"
#include "platform/folder_listing.h"

/* The listing pattern is the folder, a backslash and "*.*". */
static const WCHAR LISTING_PATTERN[] = L"\\*.*";

/* A folder that can be listed leaves room for the pattern. The top folder
 * names at least one character and every level below adds a backslash and a
 * name, so no more levels than this can ever be open at once. */
enum {
    LONGEST_LISTED_FOLDER = PATH_CHARS - ARRAYSIZE(LISTING_PATTERN),
    DEEPEST_WALK = (LONGEST_LISTED_FOLDER - 1) / 2 + 1
};

struct OpenLevel {
    HANDLE listing;
    size_t length; /* the level's folder is path[0..length) */
};

/* Counts the folder path[0..length) as scanned and opens its listing.
 * Returns false when the folder is too long to list, cannot be listed or is
 * empty; otherwise the first entry is in *entry. path is left as it was. */
static bool OpenListing(WCHAR *path, size_t length, OpenLevel *level, WIN32_FIND_DATAW *entry)
{
    g_stats.foldersScanned++;
    if (length > LONGEST_LISTED_FOLDER)
        return false;
    memcpy(path + length, LISTING_PATTERN, sizeof(LISTING_PATTERN));
    level->listing = FindFirstEntry(path, entry);
    level->length = length;
    path[length] = 0;
    return level->listing != INVALID_HANDLE_VALUE;
}

void WalkFolder(const WCHAR *folder, const FolderWalk &walk)
{
    if (!EntryExists(folder))
        return;
    WCHAR path[PATH_CHARS];
    if (!CopyText(path, PATH_CHARS, folder))
        return;

    WIN32_FIND_DATAW entry;
    OpenLevel levels[DEEPEST_WALK];
    size_t open = 0;
    if (!OpenListing(path, lstrlenW(path), &levels[0], &entry))
        return;
    open = 1;

    /* Invariant: path names the deepest open level's folder, and entry holds
     * that level's current entry when more is true. */
    bool more = true;
    while (open > 0) {
        OpenLevel &level = levels[open - 1];
        if (!more) {
            /* This level is done: close it and hand its folder out. */
            FindClose(level.listing);
            open--;
            if (open == 0)
                break;
            if (walk.subfolderDone)
                walk.subfolderDone(path);
            path[levels[open - 1].length] = 0;
            more = FindNextEntry(levels[open - 1].listing, &entry);
            continue;
        }

        size_t nameLength = lstrlenW(entry.cFileName);
        size_t entryLength = level.length + 1 + nameLength;
        if (entryLength < PATH_CHARS) {
            path[level.length] = L'\\';
            memcpy(path + level.length + 1, entry.cFileName, (nameLength + 1) * sizeof(WCHAR));
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (open < DEEPEST_WALK && OpenListing(path, entryLength, &levels[open], &entry)) {
                    open++;
                    continue; /* walk the subfolder before this level's next entry */
                }
                /* An empty or unlistable subfolder is done at once. */
                if (walk.subfolderDone)
                    walk.subfolderDone(path);
            } else {
                walk.file(path, entry);
            }
            path[level.length] = 0;
        }
        more = FindNextEntry(level.listing, &entry);
    }
}
