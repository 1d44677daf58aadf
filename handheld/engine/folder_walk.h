/*
 * The depth-first walk that the folder purge and the dead-shortcut sweep
 * share: one 260-character path buffer and one find record for the whole
 * tree, each level appending its entry names and cutting them off again, so
 * the walk's memory is fixed whatever the tree holds. Lengths are
 * checked before anything is written: an entry whose full path would pass
 * 259 characters is passed over. Links never show: the platform's listing
 * hides them, so the walk never enters, hands out or removes one.
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
 * Nothing is walked or counted when folder does not exist or is itself a
 * link; a folder too long to list is counted and not walked. */
void WalkFolder(const WCHAR *folder, const FolderWalk &walk);

#endif
