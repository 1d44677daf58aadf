/*
 * The folder purge: old files deleted, emptied subfolders removed, over the
 * shared folder walk (whose memory grows with the depth of the tree, never
 * with the number of files in it).
 */
#include "engine/folder_purge.h"
#include "engine/cleaning_state.h"
#include "engine/counted_delete.h"
#include "common/bounded_text.h"
#include "engine/folder_walk.h"

static void PurgeFile(const WCHAR *path, const WIN32_FIND_DATAW &entry)
{
    if (!IsOldEnough(entry.ftLastWriteTime, g_ageCutoff))
        return;
    if (!DeleteCountedFile(path, entry.nFileSizeLow))
        g_stats.filesUsedBySystem++;
}

/* A subfolder goes once its own purge has emptied it; its age plays no part. */
static void RemoveIfEmpty(const WCHAR *path)
{
    if (RemoveDirectoryW(path))
        g_stats.foldersDeleted++;
}

void PurgeFolder(const WCHAR *folder)
{
    static const FolderWalk purge = { PurgeFile, RemoveIfEmpty };
    WalkFolder(folder, purge);
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
