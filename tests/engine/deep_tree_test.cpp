/*
 * The purge over the deepest tree a 260-character path can name: every
 * folder that can be listed holds an old file whose path uses the last
 * character allowed, and the deepest folder is one that is too long to list.
 * All of it goes, and every folder is counted once.
 */
#include <gtest/gtest.h>
#include "device.h"
#include "engine/cleaning_state.h"
#include "engine/folder_purge.h"

TEST(DeepTree, PurgedWholeToThePathLimit)
{
    const std::wstring top = L"\\Deep";
    RemoveTree(top);
    MakeFolders(top);
    ZeroStatistics();
    ComputeAgeCutoff(1);
    const FILETIME old = FileTimeFromNow(-86400.0 * 30);

    /* A folder is listed while its path leaves room for "\*.*" (255 characters). */
    std::wstring folder = top;
    int subfolders = 0, files = 0;
    for (;;) {
        /* Fill the path to 259 characters with the file's name. */
        std::wstring name(258 - folder.size(), L'f');
        MakeFile(folder + L"\\" + name, 3, old);
        files++;
        if (folder.size() + 2 > 255)
            break;
        folder += L"\\d";
        subfolders++;
    }
    /* One level more: a folder too long to list, still counted and removed. */
    folder += L"\\d";
    subfolders++;
    MakeFolders(folder);
    ASSERT_EQ(folder.size(), 257u);
    ASSERT_TRUE(PathExists(folder));
    ASSERT_GE(subfolders, 126);

    PurgeFolder(top.c_str());

    EXPECT_TRUE(PathExists(top));
    EXPECT_FALSE(PathExists(top + L"\\d"));
    EXPECT_EQ(g_stats.foldersScanned, 1 + subfolders);
    EXPECT_EQ(g_stats.foldersDeleted, subfolders);
    EXPECT_EQ(g_stats.filesDeleted, files);
    EXPECT_EQ(g_stats.bytesReclaimed, 3u * files);
    EXPECT_EQ(g_stats.filesUsedBySystem, 0);
    RemoveTree(top);
}
