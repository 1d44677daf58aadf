/*
 * Hostile names and files in the purge and sweep targets: trees as deep as
 * a 259-character path allows, names outside ASCII in every target, and
 * shortcut files that are empty, garbage, huge or name targets the
 * single-byte code page may not spell.
 */
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "device.h"
#include "hardening_support.h"
#include "engine/cleaning_state.h"
#include "engine/dead_entries.h"
#include "engine/folder_purge.h"
#include "engine/internet_history.h"
#include "platform/shortcut_file.h"

namespace {

const FILETIME OLD = FileTimeFromNow(-86400.0 * 30);
const FILETIME FUTURE = FileTimeFromNow(86400.0 * 30);

const std::wstring GREEK = L"\u0391\u03c1\u03c7\u03b5\u03af\u03bf";          /* capital alpha first */
const std::wstring GREEK_LOWER = L"\u03b1\u03c1\u03c7\u03b5\u03af\u03bf";    /* the same in lower case */
const std::wstring CJK = L"\u4e34\u65f6\u6587\u4ef6";
const std::wstring ACCENTED = L"Cr\u00e8me br\u00fbl\u00e9e";

/* A chain of one-letter folders below base: base\d\d...\d, levels deep. */
std::wstring Chain(const std::wstring &base, int levels)
{
    std::wstring path = base;
    for (int i = 0; i < levels; i++)
        path += L"\\d";
    return path;
}

} // namespace

TEST(DeepTrees, PurgedAsDeepAsAPathCanBeListedAndNoFurther)
{
    const std::wstring base = L"\\Temp\\Deep"; /* 10 characters; each level adds 2 */
    ClearFolder(base);
    /* Every folder down to level 122 (254 characters) can be listed and
     * holds an old file; level 123 (256) cannot be listed, since its
     * pattern would pass 259 characters, so its file stays. */
    for (int level = 1; level <= 122; level++)
        MakeLongFile(Chain(base, level) + L"\\x", "12", OLD);
    ASSERT_EQ(Chain(base, 122).size(), 254u);
    MakeLongFile(Chain(base, 123) + L"\\g", "1", OLD);
    MakeLongFolder(Chain(base, 124));
    ZeroStatistics();
    ComputeAgeCutoff(1);

    PurgeFolder(base.c_str());

    EXPECT_EQ(g_stats.filesDeleted, 122);
    EXPECT_EQ(g_stats.bytesReclaimed, 244u);
    EXPECT_EQ(g_stats.foldersScanned, 124) << "the base and levels 1 to 123";
    EXPECT_EQ(g_stats.foldersDeleted, 0) << "level 123 still holds its file and level 124";
    EXPECT_EQ(g_stats.filesUsedBySystem, 0);
    EXPECT_FALSE(LongExists(Chain(base, 1) + L"\\x"));
    EXPECT_FALSE(LongExists(Chain(base, 122) + L"\\x"));
    EXPECT_TRUE(LongExists(Chain(base, 123) + L"\\g"));
    EXPECT_TRUE(LongExists(Chain(base, 124)));

    /* Once the unreachable part is gone, the rest of the chain goes too. */
    RemoveDirectoryW(LongForm(Chain(base, 124)).c_str());
    DeleteFileW(LongForm(Chain(base, 123) + L"\\g").c_str());
    ZeroStatistics();
    PurgeFolder(base.c_str());
    EXPECT_EQ(g_stats.foldersDeleted, 123);
    EXPECT_TRUE(PathExists(base));
    EXPECT_FALSE(PathExists(base + L"\\d"));
    ClearFolder(base);
}

TEST(DeepTrees, ShortcutSweepGoesAsDeepAsItsPathsFit)
{
    const std::wstring menu = L"\\Windows\\Start Menu"; /* 19 characters */
    const std::wstring base = menu + L"\\Deep";         /* 24 */
    ClearFolder(base);
    const std::string dead = ShortcutBytes("\"\\Program Files\\Gone\\g.exe\"");
    MakeLongFile(Chain(base, 113) + L"\\z.lnk", dead, OLD);  /* 250 + 6 = 256: swept */
    MakeLongFile(Chain(base, 115) + L"\\z.lnk", dead, OLD);  /* 254 + 6 = 260: passed over */
    MakeLongFolder(Chain(base, 117));       /* 116 (256) is counted but cannot be listed */
    ASSERT_EQ(Chain(base, 113).size(), 250u);
    /* Dead shortcuts outside the tree, where entry names alone would lead
     * from the current folder (the root) if the walk lost its path. */
    MakeTextFile(L"\\z.lnk", dead);
    MakeTextFile(L"\\d\\z.lnk", dead);
    ZeroStatistics();

    SweepDeadShortcuts(base.c_str());

    EXPECT_TRUE(PathExists(L"\\z.lnk")) << "outside the swept tree";
    EXPECT_TRUE(PathExists(L"\\d\\z.lnk")) << "outside the swept tree";

    EXPECT_FALSE(LongExists(Chain(base, 113) + L"\\z.lnk"));
    EXPECT_TRUE(LongExists(Chain(base, 115) + L"\\z.lnk"));
    EXPECT_EQ(g_stats.deadShortcutsDeleted, 1);
    EXPECT_EQ(g_stats.filesDeleted, 1);
    EXPECT_EQ(g_stats.foldersScanned, 117) << "the base and levels 1 to 116, which cannot be listed";
    EXPECT_TRUE(LongExists(Chain(base, 117))) << "the sweep never removes folders";
    DeleteFileW(LongForm(Chain(base, 115) + L"\\z.lnk").c_str());
    ClearFolder(base);
    ClearFolder(L"\\d");
    DeleteFileW(L"\\z.lnk");
}

/* Names outside ASCII in every purge target and both sweeps, in one whole
 * run: old files go, new ones stay, keys and files are matched by their
 * exact names, and shortcuts to programs with such names are judged by the
 * program's real path. */
TEST(ForeignNames, EveryTargetDeletesAndKeepsThemLikeAnyOtherName)
{
    static const std::wstring SHELL_FOLDERS = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    const std::wstring history = L"\\Windows\\" + GREEK + L" " + CJK; /* the registered History folder */
    const std::wstring folder2 = L"\\My Documents\\" + ACCENTED;
    const std::wstring purged[] = {
        L"\\Temp", L"\\My Documents\\Temp", folder2,
        L"\\Windows\\Profiles\\guest\\Temporary Internet Files", L"\\Windows\\Temporary Internet Files",
        history, L"\\Windows\\History", L"\\Windows\\Profiles\\guest\\Cookies", L"\\Windows\\AppMgr\\Install",
    };
    ClearEveryTarget();
    SetStringValue(HKEY_CURRENT_USER, SHELL_FOLDERS, L"History", history);

    const std::wstring names[] = { GREEK, CJK, ACCENTED };
    for (const std::wstring &folder : purged) {
        for (const std::wstring &name : names) {
            MakeFile(folder + L"\\" + name + L".old", 3, OLD);
            MakeFile(folder + L"\\" + name + L".new", 5, FUTURE);
            MakeFile(folder + L"\\" + name + L"\\" + name, 7, OLD); /* a folder of its own that empties */
        }
    }

    /* Applications named outside ASCII: one alive, one whose folder is gone. */
    SetStringValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Apps\\" + GREEK, L"InstallDir", L"\\Program Files\\" + GREEK);
    SetStringValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Apps\\" + CJK, L"InstallDir", L"\\Program Files\\" + CJK);
    SetStringValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Apps\\" + ACCENTED, L"InstallDir", L"\\Program Files\\" + ACCENTED);
    MakeFileNow(L"\\Program Files\\" + GREEK + L"\\" + GREEK + L".exe", 1);
    MakeFileNow(L"\\Program Files\\" + ACCENTED + L"\\app.exe", 1);
    struct AppMgrFile { std::wstring name; bool alive; } appMgrFiles[] = {
        { GREEK + L".dat", true },
        { GREEK_LOWER + L".arp", false }, /* another letter case: no application's */
        { CJK + L".dat", false },         /* its key goes in the same run */
        { ACCENTED + L" setup.xml", true },
        { L"Orphan \u00fc.dat", false },
    };
    for (const AppMgrFile &f : appMgrFiles)
        MakeFileNow(L"\\Windows\\AppMgr\\" + f.name, 11);

    /* Shortcuts named outside ASCII, and shortcuts to programs so named
     * where the code page can spell them. */
    const std::wstring menu = L"\\Windows\\Start Menu\\";
    MakeTextFile(menu + GREEK + L".lnk", ShortcutBytes("\"\\Program Files\\Gone\\g.exe\""));
    MakeTextFile(menu + CJK + L"\\" + CJK + L".lnk", ShortcutBytes("\"\\Program Files\\Gone\\c.exe\""));
    MakeTextFile(L"\\Windows\\StartUp\\" + ACCENTED + L".lnk", ShortcutBytes("\"\\Windows\\gone.exe\""));
    int deadShortcuts = 2;
    struct Target { std::wstring file, target; bool dead; } targets[] = {
        { L"accented alive.lnk", L"\"\\Program Files\\" + ACCENTED + L"\\app.exe\" -x", false },
        { L"accented dead.lnk", L"\"\\Program Files\\" + ACCENTED + L"\\gone.exe\"", true },
        { L"greek alive.lnk", L"\"\\Program Files\\" + GREEK + L"\\" + GREEK + L".exe\"", false },
        { L"greek dead.lnk", L"\"\\Program Files\\" + GREEK + L"\\gone.exe\"", true },
        { L"cjk dead.lnk", L"\"\\Program Files\\" + CJK + L"\\gone.exe\"", true },
    };
    std::vector<bool> written;
    for (const Target &t : targets) {
        BOOL lossy = FALSE;
        char bytes[600];
        int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, t.target.c_str(), (int)t.target.size(), bytes, sizeof(bytes), NULL, &lossy);
        bool spellable = n == (int)t.target.size() && !lossy;
        bool made = PlatformCreateShortcutFile((menu + t.file).c_str(), t.target.c_str());
        EXPECT_EQ(made, spellable) << "code page " << GetACP() << ": " << t.file;
        EXPECT_EQ(PathExists(menu + t.file), made) << "a refused shortcut leaves no file";
        if (made) {
            WCHAR read[260];
            EXPECT_TRUE(PlatformReadShortcutTarget((menu + t.file).c_str(), read, 260));
            EXPECT_EQ(std::wstring(read), t.target);
            deadShortcuts += t.dead;
        }
        written.push_back(made);
    }
    ASSERT_TRUE(written[0] && written[1]) << "code page " << GetACP() << " should spell accented letters";

    RunEveryTask(L"\\My Documents\\Temp", folder2.c_str());

    for (const std::wstring &folder : purged) {
        for (const std::wstring &name : names) {
            EXPECT_FALSE(PathExists(folder + L"\\" + name + L".old")) << folder;
            EXPECT_TRUE(PathExists(folder + L"\\" + name + L".new")) << folder;
            EXPECT_FALSE(PathExists(folder + L"\\" + name)) << folder;
        }
        EXPECT_TRUE(PathExists(folder));
    }
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Apps\\" + GREEK));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Apps\\" + CJK));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Apps\\" + ACCENTED));
    int appMgrDeleted = 0;
    for (const AppMgrFile &f : appMgrFiles) {
        EXPECT_EQ(PathExists(L"\\Windows\\AppMgr\\" + f.name), f.alive);
        appMgrDeleted += !f.alive;
    }
    EXPECT_FALSE(PathExists(menu + GREEK + L".lnk"));
    EXPECT_FALSE(PathExists(menu + CJK + L"\\" + CJK + L".lnk"));
    EXPECT_TRUE(PathExists(menu + CJK)) << "folders of the start menu stay";
    EXPECT_TRUE(PathExists(L"\\Windows\\StartUp\\" + ACCENTED + L".lnk"));
    for (size_t i = 0; i < written.size(); i++) {
        if (written[i]) {
            EXPECT_EQ(PathExists(menu + targets[i].file), !targets[i].dead) << i;
        }
    }

    EXPECT_EQ(g_stats.deadRegistryKeysDeleted, 1);
    EXPECT_EQ(g_stats.deadShortcutsDeleted, deadShortcuts);
    EXPECT_EQ(g_stats.filesUsedBySystem, 0);
    const int purgedFiles = 9 * 3 * 2;
    EXPECT_EQ(g_stats.filesDeleted, purgedFiles + appMgrDeleted + deadShortcuts);
    EXPECT_EQ(g_stats.foldersDeleted, 9 * 3);
    DeleteKeyTree(HKEY_CURRENT_USER, SHELL_FOLDERS);
}

/* Shortcut files no shortcut writer made, in both sweep targets: each stays,
 * nothing is counted, and the sweep goes on to the dead shortcut after them. */
TEST(DamagedShortcuts, EmptyGarbageAndHugeFilesStayAndTheSweepGoesOn)
{
    const std::wstring folders[] = { L"\\Windows\\Start Menu\\Damaged", L"\\Windows\\StartUp" };
    const std::string deadTarget = "\"\\Program Files\\Gone\\g.exe\"";
    std::string garbage;
    for (int i = 0; i < 4096; i++)
        garbage.push_back((char)((i * 131 + 7) & 0xFF)); /* every byte value, NULs included */
    const std::string mebibyte(1 << 20, 'A');
    struct Damaged { const wchar_t *name; std::string bytes; } files[] = {
        { L"Empty.lnk", "" },
        { L"Garbage.lnk", garbage },
        { L"Huge.lnk", mebibyte },
        { L"HugeAfterAGoodStart.lnk", ShortcutBytes(deadTarget) + mebibyte },
        { L"HugeDigits.lnk", std::string(1 << 20, '9') },
        { L"StatesTooMuch.lnk", "999#" + std::string(999, 'x') },
        { L"StatesMoreThanItHolds.lnk", "200#" + deadTarget },
        { L"OnlyDigits.lnk", "27" },
        { L"NulInTarget.lnk", std::string("27#\"\\Program Files\\Go\0e\\g.exe\"", 30) },
    };
    ClearEveryTarget();
    for (const std::wstring &folder : folders) {
        for (const Damaged &f : files)
            MakeTextFile(folder + L"\\" + f.name, f.bytes);
        MakeTextFile(folder + L"\\zz Dead.lnk", ShortcutBytes(deadTarget));
    }
    ZeroStatistics();

    SweepStartMenuShortcuts();
    SweepStartUpShortcuts(NULL);

    for (const std::wstring &folder : folders) {
        for (const Damaged &f : files)
            EXPECT_EQ(FileBytes(folder + L"\\" + f.name), f.bytes) << (const wchar_t *)f.name;
        EXPECT_FALSE(PathExists(folder + L"\\zz Dead.lnk"));
    }
    EXPECT_EQ(g_stats.deadShortcutsDeleted, 2);
    EXPECT_EQ(g_stats.filesDeleted, 2);
    EXPECT_EQ(g_stats.filesUsedBySystem, 0);
    EXPECT_EQ(g_stats.bytesReclaimed, 2 * ShortcutBytes(deadTarget).size());

    /* Read directly, the huge file with a good start is refused whole,
     * and nothing is written past the caller's buffer. */
    WCHAR target[300];
    for (WCHAR &c : target)
        c = L'#';
    EXPECT_FALSE(PlatformReadShortcutTarget((folders[1] + L"\\HugeAfterAGoodStart.lnk").c_str(), target, 260));
    EXPECT_EQ(target[0], 0);
    EXPECT_EQ(target[1], L'#');
    EXPECT_EQ(target[260], L'#');
}
