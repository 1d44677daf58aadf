/*
 * A whole cleaning run with the real task work over a seeded device: every
 * task finds something, and the statistics must add up to exactly what went.
 * The page side of the run (drawing, bar, pauses, sound) is quiet and recorded.
 */
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "device.h"
#include "quiet_page.h"
#include "engine/cleaning_run.h"
#include "engine/cleaning_state.h"
#include "engine/cleaning_work.h"
#include "settings/record/settings_record.h"

namespace {

const FILETIME OLD = FileTimeFromNow(-86400.0 * 60);

void SeedDevice()
{
    /* Task 2, the platform's temporary folder. */
    MakeFile(L"\\Temp\\old.tmp", 100, OLD);
    MakeFileNow(L"\\Temp\\new.tmp", 50);
    MakeFile(L"\\Temp\\sub\\old.tmp", 200, OLD);
    /* Task 3; task 4's path is left empty. */
    MakeFile(L"\\My Documents\\Temp\\old.doc", 10, OLD);
    /* Tasks 5, 6, 8: registered folders under the guest profile, then the fixed ones. */
    MakeFile(L"\\Windows\\Profiles\\guest\\Temporary Internet Files\\page.htm", 1000, OLD);
    MakeFile(L"\\Windows\\Temporary Internet Files\\img.gif", 1, OLD);
    MakeFileNow(L"\\Windows\\History\\today.url", 30);
    MakeFile(L"\\Windows\\Profiles\\guest\\Cookies\\c.txt", 5, OLD);
    /* Task 7. */
    SetStringValue(HKEY_LOCAL_MACHINE, L"Explorer\\AddressHistory", L"url1", L"http://example.org/");
    /* Task 9: one live application and two dead ones in a row. */
    MakeFolders(L"\\Program Files\\Live");
    MakeFileNow(L"\\Program Files\\Live\\live.exe", 64);
    SetStringValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Apps\\Dead One", L"InstallDir", L"\\Program Files\\Dead One");
    SetStringValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Apps\\Dead Two", L"InstallDir", L"\\program files\\Dead Two");
    SetStringValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Apps\\Live", L"InstallDir", L"\\Program Files\\Live");
    /* Task 10: files of the live and of a just-deleted application, and the install folder. */
    MakeFileNow(L"\\Windows\\AppMgr\\Live.DAT", 11);
    MakeFileNow(L"\\Windows\\AppMgr\\Dead One.DAT", 7);
    MakeFile(L"\\Windows\\AppMgr\\Install\\setup.cab", 3, OLD);
    /* Task 11: a dead and a live shortcut in the start menu, a dead one at start-up. */
    MakeTextFile(L"\\Windows\\Start Menu\\Gone.lnk", "27#\"\\Program Files\\Gone\\g.exe\"");
    MakeTextFile(L"\\Windows\\Start Menu\\Live.lnk", "30#\"\\Program Files\\Live\\live.exe\"");
    MakeTextFile(L"\\Windows\\StartUp\\Dead.lnk", "29#\"\\Program Files\\Dead\\d.exe\" S");
}

} // namespace

TEST(SeededRun, EveryTaskFindsItsWorkAndTheFiguresAddUp)
{
    SeedDevice();
    FillTaskTable();
    memset(&g_settings, 0, sizeof(g_settings));
    g_settings.flags = 0x07FE | OPT_SOUND_ON; /* every task but closing programs */
    wcscpy(g_settings.folder1Path, L"\\My Documents\\Temp");
    g_settings.ageLimitDays = 30;
    LoadPendingTaskMask();

    QuietPageLog log;
    RunCleaning(QuietPage(), QuietPageOps(&log), &CLEANING_WORK);

    std::vector<std::wstring> order = {
        L"Windows Temp folder", L"\\My Documents\\Temp", L"IE cache", L"IE history folder",
        L"IE addresses history (registry)", L"IE cookies", L"Dead registry keys",
        L"Dead AppManager files", L"Dead shortcuts",
    };
    EXPECT_EQ(log.completed, order);
    EXPECT_EQ(log.sounds, 9);
    EXPECT_EQ(g_stats.tasksPerformed, 9);
    EXPECT_EQ(g_pendingTasks, 0x8000 | OPT_FOLDER2) << "task 4 had no path and keeps its bit";

    /* Files: temp 2 + folder1 1 + cache 2 + cookies 1 + AppMgr 1 + install 1 + shortcuts 2. */
    EXPECT_EQ(g_stats.filesDeleted, 10);
    EXPECT_EQ(g_stats.bytesReclaimed, 100u + 200 + 10 + 1000 + 1 + 5 + 7 + 3 + 30 + 32);
    EXPECT_EQ(g_stats.filesUsedBySystem, 0);
    /* Scanned: \Temp and sub, folder1, guest cache, fixed cache, fixed history,
     * guest cookies, AppMgr, Install, Start Menu, StartUp. */
    EXPECT_EQ(g_stats.foldersScanned, 11);
    EXPECT_EQ(g_stats.foldersDeleted, 1);
    EXPECT_EQ(g_stats.deadRegistryKeysDeleted, 2);
    EXPECT_EQ(g_stats.deadShortcutsDeleted, 2);
    EXPECT_EQ(g_stats.applicationsClosed, 0);

    EXPECT_TRUE(PathExists(L"\\Temp\\new.tmp"));
    EXPECT_TRUE(PathExists(L"\\Windows\\History\\today.url"));
    EXPECT_TRUE(PathExists(L"\\Windows\\AppMgr\\Live.DAT"));
    EXPECT_FALSE(PathExists(L"\\Windows\\AppMgr\\Dead One.DAT"));
    EXPECT_TRUE(PathExists(L"\\Windows\\Start Menu\\Live.lnk"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"Explorer\\AddressHistory"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Apps\\Live"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Apps\\Dead Two"));

    /* A second Start without a reload runs no task but starts afresh. */
    log.completed.clear();
    RunCleaning(QuietPage(), QuietPageOps(&log), &CLEANING_WORK);
    EXPECT_TRUE(log.completed.empty());
    EXPECT_EQ(g_stats.tasksPerformed, 0);
    EXPECT_EQ(g_stats.filesDeleted, 0);
    EXPECT_EQ(g_stats.bytesReclaimed, 0u);
    EXPECT_GT(g_stats.memoryAvailableMB, 0.0);
}
