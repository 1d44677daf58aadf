/* Task 11 in a device: shortcut files in the start menu tree and the
 * start-up folder, their targets, and a folder link planted in the tree. */
#include <gtest/gtest.h>
#include <string>

#include "device.h"
#include "engine/cleaning_state.h"
#include "engine/dead_entries.h"
#include "platform/shortcut_file.h"

static const std::wstring MENU = L"\\Windows\\Start Menu";
static const std::wstring STARTUP = L"\\Windows\\StartUp";

/* A well-formed shortcut file's bytes for target. */
static std::string Shortcut(const std::string &target)
{
    return std::to_string(target.size()) + "#" + target;
}

static DWORD SizeOf(const std::wstring &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ? data.nFileSizeLow : 0;
}

class DeadShortcuts : public ::testing::Test {
protected:
    void SetUp() override
    {
        RemoveTree(MENU);
        RemoveTree(STARTUP);
        RemoveTree(L"\\Program Files");
        MakeFolders(MENU);
        MakeFolders(STARTUP);
        MakeFileNow(L"\\Program Files\\Alive\\alive.exe", 1);
        MakeFileNow(L"\\Program Files\\Kestrum\\Kestrum.exe", 1);
        ComputeAgeCutoff(0);
        ZeroStatistics();
    }
};

TEST_F(DeadShortcuts, OnlyQuotedProgramFilesTargetsThatVanishedAreDeleted)
{
    struct Link {
        const wchar_t *path; /* under the start menu */
        std::string bytes;
        bool dead;
    } links[] = {
        { L"\\Programs\\Alive.lnk", Shortcut("\"\\Program Files\\Alive\\alive.exe\""), false },
        { L"\\Programs\\Dead.lnk", Shortcut("\"\\Program Files\\Gone\\gone.exe\""), true },
        { L"\\Programs\\Games\\DEAD2.LNK", Shortcut("\"\\PROGRAM FILES\\Gone\\g.exe\" -x"), true },
        { L"\\Lower.lnk", Shortcut("\"\\program files\\x.exe\""), true },
        { L"\\Unquoted.lnk", Shortcut("\\Program Files\\Gone\\u.exe"), false },
        { L"\\Win.lnk", Shortcut("\"\\Windows\\gone.exe\""), false },
        { L"\\NoClose.lnk", Shortcut("\"\\Program Files\\Gone\\n.exe"), false },
        { L"\\x.lnk\\Inner.lnk", Shortcut("\"\\Program Files\\i.exe\""), true },
        { L"\\.lnk", Shortcut("\"\\Program Files\\i.exe\""), false },        /* name too short */
        { L"\\dead.lnk.txt", Shortcut("\"\\Program Files\\i.exe\""), false }, /* not a shortcut name */
        { L"\\Truncated.lnk", "30#\"\\Program Files\\Gone\\", false },
        { L"\\Garbage.lnk", "L\x01\x14\x02\x00\x00\x00\x00", false },
    };
    DWORD deadBytes = 0;
    for (const Link &l : links) {
        MakeTextFile(MENU + l.path, l.bytes);
        if (l.dead)
            deadBytes += SizeOf(MENU + l.path);
    }
    ASSERT_GT(deadBytes, 0u);

    SweepStartMenuShortcuts();
    for (const Link &l : links)
        EXPECT_EQ(PathExists(MENU + l.path), !l.dead) << l.path;
    EXPECT_TRUE(PathExists(MENU + L"\\x.lnk"));              /* a folder, never removed */
    EXPECT_TRUE(PathExists(MENU + L"\\Programs\\Games"));
    EXPECT_EQ(g_stats.deadShortcutsDeleted, 4);
    EXPECT_EQ(g_stats.filesDeleted, 4);
    EXPECT_EQ(g_stats.bytesReclaimed, deadBytes);
    EXPECT_EQ(g_stats.foldersScanned, 4);                    /* menu, Programs, Games, x.lnk */
    EXPECT_EQ(g_stats.filesUsedBySystem, 0);
    EXPECT_EQ(g_stats.foldersDeleted, 0);
}

TEST_F(DeadShortcuts, TheProgramsOwnStartUpShortcutStaysAndDeadOnesGoHoweverNew)
{
    ASSERT_TRUE(PlatformCreateShortcutFile((STARTUP + L"\\Kestrum.lnk").c_str(), L"\"\\Program Files\\Kestrum\\Kestrum.exe\" S"));
    ASSERT_TRUE(PlatformCreateShortcutFile((STARTUP + L"\\Old Tool.lnk").c_str(), L"\"\\Program Files\\Old Tool\\tool.exe\""));
    /* Dated in the future: no age limit protects a dead shortcut. */
    MakeTextFile(STARTUP + L"\\Future.lnk", Shortcut("\"\\Program Files\\f.exe\""));
    HANDLE future = CreateFileW((STARTUP + L"\\Future.lnk").c_str(), GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(future, INVALID_HANDLE_VALUE);
    FILETIME nextYear = FileTimeFromNow(86400.0 * 365);
    EXPECT_TRUE(SetFileTime(future, NULL, NULL, &nextYear));
    CloseHandle(future);

    SweepStartUpShortcuts(NULL);
    EXPECT_TRUE(PathExists(STARTUP + L"\\Kestrum.lnk"));
    EXPECT_FALSE(PathExists(STARTUP + L"\\Old Tool.lnk"));
    EXPECT_FALSE(PathExists(STARTUP + L"\\Future.lnk"));
    EXPECT_EQ(g_stats.deadShortcutsDeleted, 2);
    EXPECT_EQ(g_stats.foldersScanned, 1);

    /* Once the program itself is gone, its own shortcut is dead too. */
    DeleteFileW(L"\\Program Files\\Kestrum\\Kestrum.exe");
    SweepStartUpShortcuts(NULL);
    EXPECT_FALSE(PathExists(STARTUP + L"\\Kestrum.lnk"));
    EXPECT_EQ(g_stats.deadShortcutsDeleted, 3);
}

TEST_F(DeadShortcuts, AMissingFolderIsNotCountedAndAReadOnlyShortcutIsNotCounted)
{
    RemoveTree(STARTUP);
    SweepStartUpShortcuts(NULL);
    SweepDeadShortcuts(L"\\No Such Folder");
    EXPECT_EQ(g_stats.foldersScanned, 0);
    EXPECT_FALSE(PathExists(STARTUP)); /* never created */

    MakeTextFile(MENU + L"\\Locked.lnk", Shortcut("\"\\Program Files\\l.exe\""));
    SetFileAttributesW((MENU + L"\\Locked.lnk").c_str(), FILE_ATTRIBUTE_READONLY);
    SweepStartMenuShortcuts();
    EXPECT_TRUE(PathExists(MENU + L"\\Locked.lnk"));
    EXPECT_EQ(g_stats.foldersScanned, 1);
    EXPECT_EQ(g_stats.deadShortcutsDeleted, 0);
    EXPECT_EQ(g_stats.filesDeleted, 0);
    EXPECT_EQ(g_stats.filesUsedBySystem, 0);
    SetFileAttributesW((MENU + L"\\Locked.lnk").c_str(), FILE_ATTRIBUTE_NORMAL);
}

/* The link is swept where the harness plants it: under Wine 8, MoveFileW on
 * a folder link moves the folder it leads to, not the link. */
TEST_F(DeadShortcuts, AFolderLinkInTheTreeIsNeverEntered)
{
    const std::wstring link = L"\\Links\\folder";
    DWORD attributes = GetFileAttributesW(link.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << "the harness plants this link";
    ASSERT_NE(attributes & FILE_ATTRIBUTE_REPARSE_POINT, 0u) << "the planted link must show as one";
    /* A dead shortcut behind the link, outside the device's store, and one beside it. */
    MakeTextFile(link + L"\\victim.lnk", Shortcut("\"\\Program Files\\v.exe\""));
    MakeTextFile(L"\\Links\\Dead.lnk", Shortcut("\"\\Program Files\\d.exe\""));

    SweepDeadShortcuts(L"\\Links");
    SweepDeadShortcuts(link.c_str()); /* the link named as the folder itself */
    EXPECT_FALSE(PathExists(L"\\Links\\Dead.lnk"));
    EXPECT_TRUE(PathExists(link + L"\\victim.lnk"));
    EXPECT_TRUE(PathExists(link + L"\\keep1.txt"));
    EXPECT_EQ(g_stats.foldersScanned, 1);
    EXPECT_EQ(g_stats.deadShortcutsDeleted, 1);
    DeleteFileW((link + L"\\victim.lnk").c_str());
}
