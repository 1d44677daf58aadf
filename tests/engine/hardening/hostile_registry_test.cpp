/*
 * Hostile registry data: application keys with names as long as the
 * registry allows, InstallDir values that are not text, a thousand
 * application keys with long runs of dead ones, shell-folder values of the
 * wrong type, and a settings value whose paths fill their fields and whose
 * flags carry bits no page sets.
 */
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "device.h"
#include "hardening_support.h"
#include "engine/cleaning_state.h"
#include "engine/dead_entries.h"
#include "engine/internet_history.h"
#include "settings/record/settings_record.h"
#include "common/bounded_text.h"

namespace {

const std::wstring APPS = L"SOFTWARE\\Apps";
const FILETIME OLD = FileTimeFromNow(-86400.0 * 30);

void CreateKey(const std::wstring &name)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, (APPS + L"\\" + name).c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL), ERROR_SUCCESS)
        << name.size();
    RegCloseKey(key);
}

void SetRawValue(HKEY root, const std::wstring &key, const wchar_t *name, DWORD type, const void *bytes, DWORD size)
{
    HKEY h;
    ASSERT_EQ(RegCreateKeyExW(root, key.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &h, NULL), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(h, name, 0, type, (const BYTE *)bytes, size), ERROR_SUCCESS);
    RegCloseKey(h);
}

bool AppKeyExists(const std::wstring &name)
{
    return KeyExists(HKEY_LOCAL_MACHINE, APPS + L"\\" + name);
}

class HostileRegistry : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearEveryTarget();
        CreateKey(L"");
        ComputeAgeCutoff(1);
        ZeroStatistics();
    }
};

} // namespace

/* "SOFTWARE\Apps\" and a name of 245 characters make the longest key path a
 * 260-character buffer holds; longer names (the registry allows 255) cannot
 * be addressed and are kept, dead or not, and the sweep goes on past them. */
TEST_F(HostileRegistry, KeyNamesUpToTheRegistrysLimitAreKeptOrDeletedSafely)
{
    struct App { std::wstring name; const wchar_t *installDir; bool dead; } apps[] = {
        { std::wstring(245, L'a'), L"\\Program Files\\Gone 245", true },
        { std::wstring(246, L'b'), L"\\Program Files\\Gone 246", false },
        { std::wstring(255, L'c'), L"\\Program Files\\Gone 255", false },
        { std::wstring(255, L'd'), L"\\Program Files\\Alive", false },
        { std::wstring(255, L'e'), NULL, false },
        { L"zz Dead", L"\\Program Files\\zz Dead", true },
    };
    MakeFolders(L"\\Program Files\\Alive");
    for (const App &a : apps) {
        CreateKey(a.name);
        if (a.installDir)
            SetStringValue(HKEY_LOCAL_MACHINE, APPS + L"\\" + a.name, L"InstallDir", a.installDir);
    }

    SweepDeadRegistryKeys();
    for (const App &a : apps)
        EXPECT_EQ(AppKeyExists(a.name), !a.dead) << a.name.size();
    EXPECT_EQ(g_stats.deadRegistryKeysDeleted, 2);

    /* Files of the application manager against those long names: a file
     * belongs to a key only with the key's whole name at its start, and a
     * file whose path would pass 259 characters is passed over uncounted. */
    struct File { std::wstring name; bool alive; } files[] = {
        { std::wstring(255, L'd'), true },                 /* exactly a key's name */
        { std::wstring(243, L'f'), false },                /* "\Windows\AppMgr\" + 243 = 259 */
        { std::wstring(244, L'g'), true },                 /* 260: cannot be addressed */
        { std::wstring(255, L'h'), true },
        { std::wstring(200, L'd'), false },                /* shorter than the key it starts like */
    };
    for (const File &f : files)
        MakeLongFile(L"\\Windows\\AppMgr\\" + f.name, "abc", OLD);
    ZeroStatistics();
    SweepDeadAppMgrFiles();
    for (const File &f : files)
        EXPECT_EQ(LongExists(L"\\Windows\\AppMgr\\" + f.name), f.alive) << f.name.size();
    EXPECT_EQ(g_stats.filesDeleted, 2);
    EXPECT_EQ(g_stats.bytesReclaimed, 6u);
    EXPECT_EQ(g_stats.filesUsedBySystem, 0);
    EXPECT_EQ(g_stats.foldersScanned, 1);
    for (const File &f : files)
        DeleteFileW(LongForm(L"\\Windows\\AppMgr\\" + f.name).c_str());
}

/* Only a text value names an install folder. A number, raw bytes or a list
 * that happen to spell a vanished folder under "\Program Files\" keep the key. */
TEST_F(HostileRegistry, InstallDirOfAnotherTypeKeepsTheKey)
{
    const std::wstring gone = L"\\Program Files\\Gone";
    const DWORD number = 0x0050005C; /* "\P" */
    std::wstring multi = gone;
    multi.push_back(0);
    multi += L"second";
    multi.push_back(0);
    multi.push_back(0);
    std::wstring full(260, L'x');
    full.replace(0, gone.size(), gone);
    std::wstring tooLong = full + L"y";
    struct Case { const wchar_t *name; DWORD type; const void *bytes; DWORD size; bool dead; } cases[] = {
        { L"Dword", REG_DWORD, &number, 4, false },
        { L"Binary", REG_BINARY, gone.c_str(), (DWORD)(gone.size() * 2), false },
        { L"Binary with NUL", REG_BINARY, gone.c_str(), (DWORD)(gone.size() * 2 + 2), false },
        { L"Multi", REG_MULTI_SZ, multi.c_str(), (DWORD)(multi.size() * 2), false },
        { L"Empty text", REG_SZ, L"", 0, false },
        { L"Odd size", REG_SZ, gone.c_str(), 5, false },               /* "\P" and half a character */
        { L"Full without NUL", REG_SZ, full.c_str(), 520, false },     /* no room for the terminator */
        { L"Too long", REG_SZ, tooLong.c_str(), (DWORD)(tooLong.size() * 2 + 2), false },
        { L"Text without NUL", REG_SZ, gone.c_str(), (DWORD)(gone.size() * 2), true },
        { L"Text", REG_SZ, gone.c_str(), (DWORD)(gone.size() * 2 + 2), true },
        { L"Expandable text", REG_EXPAND_SZ, gone.c_str(), (DWORD)(gone.size() * 2 + 2), true },
    };
    for (const Case &c : cases)
        SetRawValue(HKEY_LOCAL_MACHINE, APPS + L"\\" + c.name, L"InstallDir", c.type, c.bytes, c.size);

    SweepDeadRegistryKeys();
    int dead = 0;
    for (const Case &c : cases) {
        EXPECT_EQ(AppKeyExists(c.name), !c.dead) << (const wchar_t *)c.name;
        dead += c.dead;
    }
    EXPECT_EQ(g_stats.deadRegistryKeysDeleted, dead);
}

/* A shell-folders value that is not text is no folder: the guest profile's
 * folder is purged instead, and the folder the bytes spell is left alone. */
TEST_F(HostileRegistry, ShellFolderValueOfAnotherTypeFallsBackToTheGuestProfile)
{
    const std::wstring SHELL_FOLDERS = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    const std::wstring spelled = L"\\My Documents";
    const DWORD root = 0x5C; /* a lone backslash: the root of the store */
    SetRawValue(HKEY_CURRENT_USER, SHELL_FOLDERS, L"Cache", REG_BINARY, spelled.c_str(), (DWORD)(spelled.size() * 2));
    SetRawValue(HKEY_CURRENT_USER, SHELL_FOLDERS, L"History", REG_DWORD, &root, 4);
    MakeFile(L"\\My Documents\\precious.doc", 10, OLD);
    MakeFile(L"\\precious.txt", 10, OLD);
    MakeFile(L"\\Windows\\Profiles\\guest\\Temporary Internet Files\\old.htm", 3, OLD);
    MakeFile(L"\\Windows\\Profiles\\guest\\History\\old.url", 4, OLD);

    PurgeRegisteredFolder(CACHE_FOLDERS);
    PurgeRegisteredFolder(HISTORY_FOLDERS);

    EXPECT_TRUE(PathExists(L"\\My Documents\\precious.doc"));
    EXPECT_TRUE(PathExists(L"\\precious.txt"));
    EXPECT_FALSE(PathExists(L"\\Windows\\Profiles\\guest\\Temporary Internet Files\\old.htm"));
    EXPECT_FALSE(PathExists(L"\\Windows\\Profiles\\guest\\History\\old.url"));
    EXPECT_EQ(g_stats.filesDeleted, 2);
    EXPECT_EQ(g_stats.foldersScanned, 2);
    DeleteFileW(L"\\precious.txt");
    DeleteKeyTree(HKEY_CURRENT_USER, SHELL_FOLDERS);
}

/* A thousand applications: the first 300 dead in a row, then two dead for
 * each live one, and the last 50 dead again. Every dead key goes, every
 * live key stays, the count is exact, and task 10 then deletes exactly the
 * application manager files of the dead. */
TEST_F(HostileRegistry, AThousandKeysWithLongRunsOfDeadOnes)
{
    auto name = [](int i) {
        wchar_t text[16];
        swprintf(text, 16, L"App%04d", i);
        return std::wstring(text);
    };
    auto isDead = [](int i) { return i < 300 || i >= 950 || i % 3 != 0; };
    int deadCount = 0;
    for (int i = 0; i < 1000; i++) {
        SetStringValue(HKEY_LOCAL_MACHINE, APPS + L"\\" + name(i), L"InstallDir", L"\\Program Files\\" + name(i));
        if (isDead(i))
            deadCount++;
        else
            MakeFolders(L"\\Program Files\\" + name(i));
        if (i % 5 == 0)
            MakeFileNow(L"\\Windows\\AppMgr\\" + name(i) + L".dat", 1);
    }
    ASSERT_EQ(deadCount, 300 + 50 + 433); /* 300..949: all but the 217 multiples of three */

    SweepDeadRegistryKeys();
    EXPECT_EQ(g_stats.deadRegistryKeysDeleted, deadCount);
    int wrong = 0;
    for (int i = 0; i < 1000; i++)
        wrong += AppKeyExists(name(i)) == isDead(i);
    EXPECT_EQ(wrong, 0);

    CleanAppManager();
    int filesOfDead = 0;
    wrong = 0;
    for (int i = 0; i < 1000; i += 5) {
        filesOfDead += isDead(i);
        wrong += PathExists(L"\\Windows\\AppMgr\\" + name(i) + L".dat") == isDead(i);
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(g_stats.filesDeleted, filesOfDead);

    /* Nothing is left to find. */
    ZeroStatistics();
    SweepDeadRegistryKeys();
    EXPECT_EQ(g_stats.deadRegistryKeysDeleted, 0);
}

/* A value of exactly 1048 bytes whose paths fill their fields without a
 * terminator and whose flags carry bits no page sets: each path reads as its
 * first 259 characters, and saving writes every loaded byte back unchanged. */
TEST(HostileSettings, FullPathsWithoutTerminatorAndUnknownFlagBits)
{
    DeleteKeyTree(HKEY_LOCAL_MACHINE, SETTINGS_KEY);
    std::vector<BYTE> value(1048);
    const DWORD flags = 0xFFF0F000 | DEFAULT_FLAGS; /* bits 12-15 and 20-31 besides the defaults */
    const DWORD age = 0xFFFFFFFF;
    memcpy(value.data(), &flags, 4);
    memcpy(value.data() + 4, &age, 4);
    for (int i = 0; i < 260; i++) {
        memcpy(value.data() + 8 + 2 * i, L"a", 2);
        memcpy(value.data() + 528 + 2 * i, L"b", 2);
    }
    WriteRegistryBytes(HKEY_LOCAL_MACHINE, SETTINGS_KEY, SETTINGS_VALUE, value.data(), 1048);

    LoadSettings();
    EXPECT_EQ(g_settings.flags, flags);
    EXPECT_EQ(g_settings.ageLimitDays, age);
    WCHAR path[PATH_CHARS];
    FolderPathText(g_settings.folder1Path, path);
    EXPECT_EQ(std::wstring(path), std::wstring(259, L'a'));
    FolderPathText(g_settings.folder2Path, path);
    EXPECT_EQ(std::wstring(path), std::wstring(259, L'b'));
    LoadPendingTaskMask();
    EXPECT_EQ(g_pendingTasks, (WORD)flags);

    SaveSettings();
    std::vector<BYTE> stored(1100);
    DWORD size = (DWORD)stored.size();
    ASSERT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, SETTINGS_VALUE, stored.data(), &size), ERROR_SUCCESS);
    ASSERT_EQ(size, 1048u);
    stored.resize(size);
    EXPECT_EQ(stored, value) << "loading and saving changed a byte";
    DeleteKeyTree(HKEY_LOCAL_MACHINE, SETTINGS_KEY);
}
