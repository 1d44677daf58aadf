/*
 * The depth-first walk that the folder purge and the dead-shortcut sweep
 * share: one 260-character path buffer, each level appending its entry names
 * and cutting them off again, so memory grows with depth only. Lengths are
 * checked before anything is written: an entry whose full path would pass
 * 259 characters is passed over, and links (reparse points) are never
 * entered, handed out or removed, since they may lead outside the tree.
 */
#ifndef KESTRUM_ENGINE_FOLDER_WALK_H
#define KESTRUM_ENGINE_FOLDER_WALK_H

#include <windows.h>

struct FolderWalk {
    /* A file of the tree, with its full path. */
    void (*file)(const WCHAR *path, const WIN32_FIND_DATAW &entry);
    /* A subfolder whose own walk has ended; NULL when nothing is done then. */
    void (*subfolderDone)(const WCHAR *path);
};

/* Walks the tree below folder, counting each folder visited in foldersScanned.
 * Nothing is walked or counted when folder does not exist, is itself a link,
 * or is too long to list. */
void WalkFolder(const WCHAR *folder, const FolderWalk &walk);

/* A link (reparse point) may lead outside the tree. */
bool IsLinkEntry(DWORD attributes);

#endif
