/* Tasks 9 and 10 in a device: application keys whose install folder vanished,
 * and the application manager files that belong to no installed application. */
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "device.h"
#include "engine/cleaning_state.h"
#include "engine/dead_entries.h"

static const std::wstring APPS = L"SOFTWARE\\Apps";
static const FILETIME OLD = FileTimeFromNow(-86400.0 * 30);

static void AddApplication(const std::wstring &name, const wchar_t *installDir)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, (APPS + L"\\" + name).c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL), ERROR_SUCCESS);
    RegCloseKey(key);
    if (installDir)
        SetStringValue(HKEY_LOCAL_MACHINE, APPS + L"\\" + name, L"InstallDir", installDir);
}

static bool AppKeyExists(const std::wstring &name)
{
    return KeyExists(HKEY_LOCAL_MACHINE, APPS + L"\\" + name);
}

class DeadEntries : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteKeyTree(HKEY_LOCAL_MACHINE, APPS);
        RemoveTree(L"\\Windows\\AppMgr");
        RemoveTree(L"\\Program Files");
        MakeFolders(L"\\Windows\\AppMgr\\Install");
        MakeFolders(L"\\Program Files");
        ComputeAgeCutoff(1);
        ZeroStatistics();
    }
};

TEST_F(DeadEntries, KeysOfVanishedProgramFoldersGoAndEveryOtherKeyStays)
{
    struct App {
        const wchar_t *name;
        const wchar_t *installDir; /* NULL: no InstallDir value */
        bool folderExists;
        bool dead;
    } apps[] = {
        { L"Alive", L"\\Program Files\\Alive", true, false },
        { L"Card", L"\\Storage Card\\Program Files\\Card", false, false },
        /* Three dead keys in a row: each moves the next one to its index. */
        { L"Gone A", L"\\Program Files\\Gone A", false, true },
        { L"Gone B", L"\\Program Files\\Gone B", false, true },
        { L"Lower", L"\\program files\\lower", false, true },
        { L"NoDir", NULL, false, false },
        { L"Tarnwick Kestrum", NULL, false, false },
        { L"Zlast", L"\\PROGRAM FILES\\Zlast", false, true },
    };
    for (const App &a : apps) {
        AddApplication(a.name, a.installDir);
        if (a.folderExists)
            MakeFolders(a.installDir);
    }

    SweepDeadRegistryKeys();
    for (const App &a : apps)
        EXPECT_EQ(AppKeyExists(a.name), !a.dead) << a.name;
    EXPECT_EQ(g_stats.deadRegistryKeysDeleted, 4);
    EXPECT_EQ(g_stats.filesDeleted, 0);
    EXPECT_EQ(g_stats.foldersScanned, 0);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, APPS));

    /* A second sweep finds nothing more. */
    SweepDeadRegistryKeys();
    EXPECT_EQ(g_stats.deadRegistryKeysDeleted, 4);
}

TEST_F(DeadEntries, OnlyDeadKeysAllInARowAreAllDeleted)
{
    for (const wchar_t *name : { L"A", L"B", L"C" })
        AddApplication(name, (std::wstring(L"\\Program Files\\") + name).c_str());
    AddApplication(L"B\\Sub", L"\\Program Files\\Here"); /* below a dead key: goes with it */
    SweepDeadRegistryKeys();
    EXPECT_EQ(g_stats.deadRegistryKeysDeleted, 3);
    EXPECT_FALSE(AppKeyExists(L"A"));
    EXPECT_FALSE(AppKeyExists(L"B"));
    EXPECT_FALSE(AppKeyExists(L"C"));
}

TEST_F(DeadEntries, WithoutApplicationListNothingIsSweptOrCounted)
{
    MakeFile(L"\\Windows\\AppMgr\\Orphan.dat", 10, OLD);
    SweepDeadRegistryKeys();
    SweepDeadAppMgrFiles();
    EXPECT_TRUE(PathExists(L"\\Windows\\AppMgr\\Orphan.dat"));
    CleaningStatistics zero = {};
    EXPECT_EQ(memcmp(&g_stats, &zero, sizeof(zero)), 0);

    /* Nor without the application manager folder. */
    AddApplication(L"A", NULL);
    RemoveTree(L"\\Windows\\AppMgr");
    SweepDeadAppMgrFiles();
    EXPECT_EQ(g_stats.foldersScanned, 0);
}

TEST_F(DeadEntries, AppMgrFilesLiveByTheirApplicationsKeyNameInItsCase)
{
    AddApplication(L"App One", L"\\Program Files\\App One");
    AddApplication(L"Beta", L"\\Program Files\\Beta");
    struct File {
        const wchar_t *name;
        DWORD size;
        bool alive;
    } files[] = {
        { L"App One", 1, true },
        { L"App One.dat", 2, true },        /* key name plus an extension */
        { L"Beta_setup.xml", 4, true },
        { L"APP ONE.arp", 8, false },       /* other letter case */
        { L"App On", 16, false },           /* shorter than the key name */
        { L"beta.dat", 32, false },
        { L"Orphan.dat", 64, false },
    };
    for (const File &f : files)
        MakeFileNow(std::wstring(L"\\Windows\\AppMgr\\") + f.name, f.size); /* no age limit here */
    MakeFileNow(L"\\Windows\\AppMgr\\Sub\\Orphan.dat", 5);      /* below a folder: never looked at */
    MakeFileNow(L"\\Windows\\AppMgr\\Install\\Orphan.dat", 5);

    SweepDeadAppMgrFiles();
    for (const File &f : files)
        EXPECT_EQ(PathExists(std::wstring(L"\\Windows\\AppMgr\\") + f.name), f.alive) << f.name;
    EXPECT_TRUE(PathExists(L"\\Windows\\AppMgr\\Sub\\Orphan.dat"));
    EXPECT_TRUE(PathExists(L"\\Windows\\AppMgr\\Install\\Orphan.dat"));
    EXPECT_EQ(g_stats.filesDeleted, 4);
    EXPECT_EQ(g_stats.bytesReclaimed, 8u + 16 + 32 + 64);
    EXPECT_EQ(g_stats.foldersScanned, 1);
    EXPECT_EQ(g_stats.filesUsedBySystem, 0);
    EXPECT_EQ(g_stats.deadRegistryKeysDeleted, 0);
}

TEST_F(DeadEntries, WithNoApplicationKeysEveryAppMgrFileIsDeadAndUndeletableOnesCount)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, APPS.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL), ERROR_SUCCESS);
    RegCloseKey(key);
    MakeFileNow(L"\\Windows\\AppMgr\\One.dat", 3);
    MakeFileNow(L"\\Windows\\AppMgr\\Two", 4);
    MakeFileNow(L"\\Windows\\AppMgr\\Locked.dat", 5);
    SetFileAttributesW(L"\\Windows\\AppMgr\\Locked.dat", FILE_ATTRIBUTE_READONLY);

    SweepDeadRegistryKeys();
    EXPECT_EQ(g_stats.deadRegistryKeysDeleted, 0);
    SweepDeadAppMgrFiles();
    EXPECT_FALSE(PathExists(L"\\Windows\\AppMgr\\One.dat"));
    EXPECT_FALSE(PathExists(L"\\Windows\\AppMgr\\Two"));
    EXPECT_TRUE(PathExists(L"\\Windows\\AppMgr\\Locked.dat"));
    EXPECT_EQ(g_stats.filesDeleted, 2);
    EXPECT_EQ(g_stats.filesUsedBySystem, 1);
    EXPECT_EQ(g_stats.bytesReclaimed, 7u);
    SetFileAttributesW(L"\\Windows\\AppMgr\\Locked.dat", FILE_ATTRIBUTE_NORMAL);
}

TEST_F(DeadEntries, FilesOfKeysJustDeletedDieInTheSameRunAndTheInstallFolderIsPurged)
{
    AddApplication(L"Dead App", L"\\Program Files\\Dead App");
    AddApplication(L"Live App", L"\\Program Files\\Live App");
    MakeFolders(L"\\Program Files\\Live App");
    MakeFileNow(L"\\Windows\\AppMgr\\Dead App.dat", 10);
    MakeFileNow(L"\\Windows\\AppMgr\\Live App.dat", 20);
    MakeFile(L"\\Windows\\AppMgr\\Install\\old.cab", 30, OLD);
    MakeFileNow(L"\\Windows\\AppMgr\\Install\\new.cab", 40);

    SweepDeadRegistryKeys(); /* task 9 */
    CleanAppManager();       /* task 10 */
    EXPECT_FALSE(AppKeyExists(L"Dead App"));
    EXPECT_FALSE(PathExists(L"\\Windows\\AppMgr\\Dead App.dat"));
    EXPECT_TRUE(PathExists(L"\\Windows\\AppMgr\\Live App.dat"));
    EXPECT_FALSE(PathExists(L"\\Windows\\AppMgr\\Install\\old.cab"));
    EXPECT_TRUE(PathExists(L"\\Windows\\AppMgr\\Install\\new.cab")); /* the purge keeps its age limit */
    EXPECT_TRUE(PathExists(L"\\Windows\\AppMgr\\Install"));
    EXPECT_EQ(g_stats.deadRegistryKeysDeleted, 1);
    EXPECT_EQ(g_stats.filesDeleted, 2);
    EXPECT_EQ(g_stats.bytesReclaimed, 40u);
    EXPECT_EQ(g_stats.foldersScanned, 2);
}
