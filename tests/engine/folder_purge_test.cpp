/*
 * The folder purge on real files: time stamps against the cutoff, files
 * that refuse deletion, subfolders that stay or go, links that lead out of
 * the tree, and exactly what is counted.
 */
#include <gtest/gtest.h>
#include "device.h"
#include "engine/cleaning_state.h"
#include "engine/folder_purge.h"

static const FILETIME OLD = FileTimeFromNow(-86400.0 * 30);

class FolderPurge : public testing::Test {
protected:
    void SetUp() override
    {
        RemoveTree(L"\\Purge");
        MakeFolders(L"\\Purge");
        ZeroStatistics();
        ComputeAgeCutoff(1);
    }
    void TearDown() override { RemoveTree(L"\\Purge"); }
};

TEST_F(FolderPurge, OldTreeGoesEntirelyButTheFolderStays)
{
    MakeFile(L"\\Purge\\a.tmp", 100, OLD);
    MakeFile(L"\\Purge\\noext", 20, OLD);
    MakeFile(L"\\Purge\\one\\b.tmp", 1000, OLD);
    MakeFile(L"\\Purge\\one\\two\\c.tmp", 3, OLD);
    MakeFolders(L"\\Purge\\empty");

    PurgeFolder(L"\\Purge");

    EXPECT_TRUE(PathExists(L"\\Purge"));
    EXPECT_FALSE(PathExists(L"\\Purge\\one"));
    EXPECT_FALSE(PathExists(L"\\Purge\\empty"));
    EXPECT_FALSE(PathExists(L"\\Purge\\noext"));
    EXPECT_EQ(g_stats.foldersScanned, 4);   /* Purge, one, two, empty */
    EXPECT_EQ(g_stats.foldersDeleted, 3);
    EXPECT_EQ(g_stats.filesDeleted, 4);
    EXPECT_EQ(g_stats.bytesReclaimed, 1123u);
    EXPECT_EQ(g_stats.filesUsedBySystem, 0);
}

TEST_F(FolderPurge, NewFileKeepsItsFolderWhileSiblingsGo)
{
    MakeFileNow(L"\\Purge\\keep\\new.txt", 10);
    MakeFile(L"\\Purge\\keep\\old.txt", 10, OLD);
    MakeFile(L"\\Purge\\sibling\\old.txt", 10, OLD);
    MakeFolders(L"\\Purge\\brand new empty");

    PurgeFolder(L"\\Purge");

    EXPECT_TRUE(PathExists(L"\\Purge\\keep\\new.txt"));
    EXPECT_FALSE(PathExists(L"\\Purge\\keep\\old.txt"));
    EXPECT_FALSE(PathExists(L"\\Purge\\sibling"));
    EXPECT_FALSE(PathExists(L"\\Purge\\brand new empty")) << "a folder's own age plays no part";
    EXPECT_EQ(g_stats.foldersDeleted, 2);
    EXPECT_EQ(g_stats.filesDeleted, 2);
}

TEST_F(FolderPurge, CutoffIsInclusiveAndTheFutureStays)
{
    FILETIME at = FileTimeFromNow(-3600);
    MakeFile(L"\\Purge\\at-cutoff.txt", 7, at);
    FILETIME tickLater = at;
    tickLater.dwLowDateTime += 1;
    if (tickLater.dwLowDateTime == 0)
        tickLater.dwHighDateTime++;
    MakeFile(L"\\Purge\\one-tick-later.txt", 7, tickLater);
    MakeFile(L"\\Purge\\future.txt", 7, FileTimeFromNow(86400.0 * 365));
    g_ageCutoff = at;

    PurgeFolder(L"\\Purge");
    EXPECT_FALSE(PathExists(L"\\Purge\\at-cutoff.txt"));
    EXPECT_TRUE(PathExists(L"\\Purge\\one-tick-later.txt"));
    EXPECT_TRUE(PathExists(L"\\Purge\\future.txt"));

    ComputeAgeCutoff(0);
    PurgeFolder(L"\\Purge");
    EXPECT_FALSE(PathExists(L"\\Purge\\one-tick-later.txt"));
    EXPECT_TRUE(PathExists(L"\\Purge\\future.txt")) << "age 0 still keeps files dated in the future";
}

TEST_F(FolderPurge, ReadOnlyAndOpenFilesAreCountedAsUsedBySystem)
{
    MakeFile(L"\\Purge\\readonly.txt", 50, OLD);
    SetFileAttributesW(L"\\Purge\\readonly.txt", FILE_ATTRIBUTE_READONLY);
    MakeFile(L"\\Purge\\sub\\open.txt", 60, OLD);
    MakeFile(L"\\Purge\\gone.txt", 5, OLD);
    HANDLE held = CreateFileW(L"\\Purge\\sub\\open.txt", GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    PurgeFolder(L"\\Purge");
    CloseHandle(held);

    EXPECT_TRUE(PathExists(L"\\Purge\\readonly.txt"));
    EXPECT_EQ(GetFileAttributesW(L"\\Purge\\readonly.txt") & FILE_ATTRIBUTE_READONLY, (DWORD)FILE_ATTRIBUTE_READONLY)
        << "attributes are never changed";
    EXPECT_TRUE(PathExists(L"\\Purge\\sub\\open.txt"));
    EXPECT_EQ(g_stats.filesUsedBySystem, 2);
    EXPECT_EQ(g_stats.filesDeleted, 1);
    EXPECT_EQ(g_stats.bytesReclaimed, 5u);
    EXPECT_EQ(g_stats.foldersDeleted, 0) << "sub still holds the open file";
    SetFileAttributesW(L"\\Purge\\readonly.txt", FILE_ATTRIBUTE_NORMAL);
}

TEST_F(FolderPurge, MissingPathAndFilePathCountAsSpecified)
{
    PurgeFolder(L"\\Purge\\nothing here");
    EXPECT_EQ(g_stats.foldersScanned, 0);

    MakeFile(L"\\Purge\\plain.txt", 9, OLD);
    PurgeFolder(L"\\Purge\\plain.txt");
    EXPECT_EQ(g_stats.foldersScanned, 1);
    EXPECT_EQ(g_stats.filesDeleted, 0);
    EXPECT_TRUE(PathExists(L"\\Purge\\plain.txt"));
}

TEST_F(FolderPurge, EntriesBeyond259CharactersAreSkipped)
{
    /* A folder whose path is 250 characters holds a file whose full path would be 271. */
    std::wstring deep = L"\\Purge\\" + std::wstring(242, L'd');
    ASSERT_EQ(deep.size(), 249u);
    MakeFolders(deep);
    std::wstring longName = deep + L"\\" + std::wstring(21, L'f');
    HANDLE h = CreateFileW((L"\\\\?\\D:" + longName).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    SetFileTime(h, NULL, NULL, &OLD);
    CloseHandle(h);
    MakeFile(deep + L"\\short", 4, OLD);

    PurgeFolder(L"\\Purge");

    EXPECT_NE(GetFileAttributesW((L"\\\\?\\D:" + longName).c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(PathExists(deep + L"\\short"));
    EXPECT_EQ(g_stats.filesDeleted, 1);
    EXPECT_TRUE(PathExists(deep)) << "still holds the skipped file";
    DeleteFileW((L"\\\\?\\D:" + longName).c_str());
}

TEST(FolderPurgeLinks, LinksInsideOrAtTheTargetAreNeverFollowedOrRemoved)
{
    /* The harness plants "\\Purge Links\\sub\\linked" and "\\Linked Target", each a
     * link to a victim folder holding keep1.txt and sub\\keep2.txt, both old. */
    ASSERT_TRUE(PathExists(L"\\Purge Links\\sub\\linked\\keep1.txt"));
    ZeroStatistics();
    ComputeAgeCutoff(0);
    MakeFile(L"\\Purge Links\\sub\\old.txt", 8, OLD);

    PurgeFolder(L"\\Purge Links");
    PurgeFolder(L"\\Linked Target");

    EXPECT_TRUE(PathExists(L"\\Purge Links\\sub\\linked\\keep1.txt"));
    EXPECT_TRUE(PathExists(L"\\Purge Links\\sub\\linked\\sub\\keep2.txt"));
    EXPECT_TRUE(PathExists(L"\\Linked Target\\keep1.txt"));
    EXPECT_TRUE(PathExists(L"\\Linked Target\\sub\\keep2.txt"));
    EXPECT_FALSE(PathExists(L"\\Purge Links\\sub\\old.txt"));
    EXPECT_EQ(g_stats.filesDeleted, 1);
    EXPECT_EQ(g_stats.foldersScanned, 2) << "neither link is counted as a scanned folder";
    EXPECT_EQ(g_stats.foldersDeleted, 0) << "sub holds the link and stays";
}

TEST(WindowsTemp, TargetDropsOneTrailingBackslashOrFallsBack)
{
    struct { const wchar_t *reported; DWORD length; const wchar_t *target; } cases[] = {
        { L"D:\\Temp\\", 8, L"D:\\Temp" },
        { L"\\Temp\\", 6, L"\\Temp" },
        { L"\\Temp\\\\", 7, L"\\Temp\\" },
        { L"\\Temp", 5, L"\\Temp" },
        { L"", 0, L"\\Temp" },
        { L"\\", 1, L"" },
    };
    for (const auto &c : cases) {
        WCHAR target[260];
        WindowsTempTarget(c.reported, c.length, target);
        EXPECT_STREQ(target, c.target) << c.reported;
    }
}

TEST(WindowsTemp, PurgesThePlatformsTemporaryFolder)
{
    ZeroStatistics();
    ComputeAgeCutoff(0);
    MakeFile(L"\\Temp\\old\\x.tmp", 11, FileTimeFromNow(-60));
    MakeFile(L"\\Temp\\y.tmp", 12, FileTimeFromNow(-60));
    PurgeWindowsTempFolder();
    EXPECT_FALSE(PathExists(L"\\Temp\\old"));
    EXPECT_FALSE(PathExists(L"\\Temp\\y.tmp"));
    EXPECT_TRUE(PathExists(L"\\Temp"));
    EXPECT_EQ(g_stats.bytesReclaimed, 23u);
    EXPECT_EQ(g_stats.foldersScanned, 2);
}
