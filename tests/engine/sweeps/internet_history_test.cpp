/* The Internet Explorer tasks in a device: which folders are purged, in
 * which order, and what the statistics say afterwards. */
#include <gtest/gtest.h>
#include <string>

#include "device.h"
#include "engine/cleaning_state.h"
#include "engine/internet_history.h"

static const std::wstring SHELL_FOLDERS = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
static const FILETIME OLD = FileTimeFromNow(-86400.0 * 30);

class InternetHistory : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteKeyTree(HKEY_CURRENT_USER, SHELL_FOLDERS);
        for (const wchar_t *folder : { L"\\Windows\\Profiles\\guest", L"\\Windows\\Temporary Internet Files",
                 L"\\Windows\\History", L"\\Windows\\Cookies", L"\\Cache" })
            RemoveTree(folder);
        MakeFolders(L"\\Windows\\Profiles\\guest");
        ComputeAgeCutoff(1);
        ZeroStatistics();
    }
};

TEST_F(InternetHistory, WithoutShellFoldersKeyTheGuestProfileFolderIsPurgedFirst)
{
    struct Row {
        const InternetFolders *folders;
        const wchar_t *guest, *fixed;
    } rows[] = {
        { &CACHE_FOLDERS, L"\\Windows\\Profiles\\guest\\Temporary Internet Files",
          L"\\Windows\\Temporary Internet Files" },
        { &HISTORY_FOLDERS, L"\\Windows\\Profiles\\guest\\History", L"\\Windows\\History" },
        { &COOKIE_FOLDERS, L"\\Windows\\Profiles\\guest\\Cookies", L"\\Windows\\Cookies" },
    };
    for (const Row &r : rows) {
        std::wstring guest = r.guest, fixed = r.fixed;
        MakeFile(guest + L"\\old.htm", 100, OLD);
        MakeFileNow(guest + L"\\new.htm", 7);
        MakeFile(fixed + L"\\old.gif", 20, OLD);
        ZeroStatistics();

        PurgeRegisteredFolder(*r.folders);
        EXPECT_FALSE(PathExists(guest + L"\\old.htm")) << r.fixed;
        EXPECT_TRUE(PathExists(guest + L"\\new.htm")) << r.fixed;  /* the age limit applies */
        EXPECT_TRUE(PathExists(fixed + L"\\old.gif")) << r.fixed;  /* not yet: the second step's */
        EXPECT_EQ(g_stats.foldersScanned, 1) << r.fixed;
        EXPECT_EQ(g_stats.filesDeleted, 1) << r.fixed;
        EXPECT_EQ(g_stats.bytesReclaimed, 100u) << r.fixed;

        PurgeFixedFolder(*r.folders);
        EXPECT_FALSE(PathExists(fixed + L"\\old.gif")) << r.fixed;
        EXPECT_EQ(g_stats.foldersScanned, 2) << r.fixed;
        EXPECT_EQ(g_stats.filesDeleted, 2) << r.fixed;
        EXPECT_EQ(g_stats.bytesReclaimed, 120u) << r.fixed;
    }
}

TEST_F(InternetHistory, TheRegisteredFolderIsPurgedInsteadOfTheGuestProfile)
{
    /* The key is read as stored, with its trailing backslash. */
    SetStringValue(HKEY_CURRENT_USER, SHELL_FOLDERS, L"Cookies", L"\\Cache\\Cookies\\");
    MakeFile(L"\\Cache\\Cookies\\c.txt", 10, OLD);
    MakeFile(L"\\Windows\\Profiles\\guest\\Cookies\\g.txt", 10, OLD);

    PurgeRegisteredFolder(COOKIE_FOLDERS);
    EXPECT_FALSE(PathExists(L"\\Cache\\Cookies\\c.txt"));
    EXPECT_TRUE(PathExists(L"\\Windows\\Profiles\\guest\\Cookies\\g.txt"));
    EXPECT_TRUE(PathExists(L"\\Cache\\Cookies"));
    EXPECT_EQ(g_stats.foldersScanned, 1);
}

TEST_F(InternetHistory, ARegisteredFixedFolderIsPurgedTwiceAndCountedTwice)
{
    SetStringValue(HKEY_CURRENT_USER, SHELL_FOLDERS, L"Cache", L"\\Windows\\Temporary Internet Files");
    MakeFile(L"\\Windows\\Temporary Internet Files\\a.htm", 5, OLD);
    MakeFile(L"\\Windows\\Temporary Internet Files\\sub\\b.htm", 6, OLD);
    MakeFileNow(L"\\Windows\\Temporary Internet Files\\keep\\new.htm", 7);

    PurgeRegisteredFolder(CACHE_FOLDERS);
    EXPECT_EQ(g_stats.foldersScanned, 3);
    EXPECT_EQ(g_stats.filesDeleted, 2);
    EXPECT_EQ(g_stats.foldersDeleted, 1);

    PurgeFixedFolder(CACHE_FOLDERS);
    EXPECT_EQ(g_stats.foldersScanned, 5); /* the folder and keep, a second time */
    EXPECT_EQ(g_stats.filesDeleted, 2);
    EXPECT_EQ(g_stats.foldersDeleted, 1);
    EXPECT_TRUE(PathExists(L"\\Windows\\Temporary Internet Files\\keep\\new.htm"));
}

TEST_F(InternetHistory, AHistoryValueIsUsedUpTo259CharactersAndNoLonger)
{
    /* A used value names a folder that does not exist: nothing is purged.
     * A refused one leaves the guest profile's History to be purged. */
    struct Case {
        size_t length;
        bool stored_terminated;
        bool used;
    } cases[] = {
        { 259, true, true },
        { 260, true, false },
        { 300, true, false },
        { 260, false, false }, /* 520 bytes without terminator: fits, yet is no whole path */
        { 258, false, true },  /* stored without terminator but room to end it */
    };
    for (const Case &c : cases) {
        std::wstring value = L"\\Nowhere\\" + std::wstring(c.length - 9, L'h');
        HKEY key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, SHELL_FOLDERS.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL), ERROR_SUCCESS);
        DWORD bytes = (DWORD)((value.size() + (c.stored_terminated ? 1 : 0)) * sizeof(WCHAR));
        RegSetValueExW(key, L"History", 0, REG_SZ, (const BYTE *)value.c_str(), bytes);
        RegCloseKey(key);
        MakeFile(L"\\Windows\\Profiles\\guest\\History\\h.dat", 3, OLD);
        ZeroStatistics();

        PurgeRegisteredFolder(HISTORY_FOLDERS);
        EXPECT_EQ(PathExists(L"\\Windows\\Profiles\\guest\\History\\h.dat"), c.used) << c.length;
        EXPECT_EQ(g_stats.foldersScanned, c.used ? 0 : 1) << c.length;
    }
}

TEST_F(InternetHistory, AddressHistoryKeyIsDeletedWithItsValuesAndAMissingOneIsNoFailure)
{
    SetStringValue(HKEY_LOCAL_MACHINE, L"Explorer\\AddressHistory", L"url1", L"http://a/");
    SetStringValue(HKEY_LOCAL_MACHINE, L"Explorer\\AddressHistory", L"url2", L"http://b/");
    DeleteAddressHistory();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Explorer\\AddressHistory"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, L"Explorer"));

    DeleteAddressHistory();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Explorer\\AddressHistory"));
    CleaningStatistics zero = {};
    EXPECT_EQ(memcmp(&g_stats, &zero, sizeof(zero)), 0); /* nothing is counted */
}
