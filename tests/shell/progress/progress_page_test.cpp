/*
 * The Progress page, in-process on a real sheet and as the whole program:
 * what the task list paints, what Start does afterwards, apply and help.
 */
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <vector>

#include "device.h"
#include "engine/cleaning_state.h"
#include "resources/resource.h"
#include "settings/record/settings_record.h"
#include "shell/main_window.h"
#include "shell/base/page_drawing.h"
#include "shell/progress_page.h"
#include "shell/base/shell_state.h"
#include "canvas.h"
#include "help_capture.h"
#include "kestrum_program.h"
#include "main_window_fixture.h"
#include "settings_store.h"

namespace {

/* What a canvas shows where nothing was painted. */
const COLORREF UNPAINTED = RGB(0x55, 0x55, 0x55);

class ProgressPage : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        if (HasFatalFailure())
            return;
        page = g_shell.progressPage;
        ASSERT_TRUE(page != NULL);
        GetClientRect(page, &client);
    }
    void Select(DWORD flags)
    {
        g_settings.flags = flags;
        LoadPendingTaskMask();
    }
    /* The page as the rules draw it: heading band, body, and the given icons. */
    void Expected(Canvas &c, const wchar_t *heading, const std::vector<std::pair<int, HICON>> &icons)
    {
        DrawPageHeaderBand(page, c.dc, g_shell.headerBrush, 0x7F0000, heading);
        RECT body = client;
        body.top += 30;
        FillRect(c.dc, &body, g_shell.progressBodyBrush);
        for (const auto &icon : icons)
            DrawIconEx(c.dc, 5, icon.first, icon.second, 0, 0, 0, NULL, DI_NORMAL);
    }
    HWND page = NULL;
    RECT client = {};
};

} // namespace

TEST_F(ProgressPage, TaskListShowsSelectedRowsFrom38PixelsAnd17Apart)
{
    Select(OPT_FOLDER1 | OPT_IE_CACHE);
    Canvas painted(client.right, client.bottom, UNPAINTED), expected(client.right, client.bottom, UNPAINTED);
    PaintTaskList(page, painted.dc);
    Expected(expected, L"Selected Options", {{38, g_shell.pendingIcon}, {55, g_shell.pendingIcon}});

    EXPECT_TRUE(painted.SameAs(expected, 0, 0, client.right, 30)) << "header band";
    EXPECT_TRUE(painted.SameAs(expected, 0, 38, 22, 38 + 34)) << "pending icons of both rows";
    EXPECT_TRUE(painted.SameAs(expected, 0, 72, 22, client.bottom)) << "nothing below the second row";
    EXPECT_EQ(painted.At(0, 2), RGB(204, 240, 238)) << "the header strip starts pale aqua";
    EXPECT_EQ(painted.At(0, 100), RGB(255, 255, 255)) << "the body strip starts white";
    EXPECT_FALSE(painted.SameAs(expected, 30, 38, client.right, 55)) << "the first row carries text";
    EXPECT_FALSE(painted.SameAs(expected, 30, 55, client.right, 72)) << "the second row carries text";
    EXPECT_TRUE(painted.SameAs(expected, 0, 72, client.right, client.bottom)) << "no third row";
}

TEST_F(ProgressPage, AfterARunTheListReadsCompletedTasksWithDoneIcons)
{
    Select(OPT_WINDOWS_TEMP);
    g_pendingTasks = PENDING_RUN_STARTED; /* what a run leaves */
    Canvas painted(client.right, client.bottom, UNPAINTED), done(client.right, client.bottom, UNPAINTED),
        pending(client.right, client.bottom, UNPAINTED);
    PaintTaskList(page, painted.dc);
    Expected(done, L"Completed Tasks", {{38, g_shell.doneIcon}});
    Expected(pending, L"Selected Options", {{38, g_shell.pendingIcon}});
    EXPECT_TRUE(painted.SameAs(done, 0, 0, client.right, 30));
    EXPECT_FALSE(painted.SameAs(pending, 0, 0, client.right, 30)) << "the heading must change";
    EXPECT_TRUE(painted.SameAs(done, 0, 38, 22, 54));
    EXPECT_FALSE(painted.SameAs(pending, 0, 38, 22, 54)) << "the icon must change";
}

TEST_F(ProgressPage, StartRunsTheCleaningThenTurnsToTheReport)
{
    Select(OPT_WINDOWS_TEMP);
    MakeFile(L"\\Temp\\old.tmp", 40, FileTimeFromNow(-86400.0 * 2));
    EXPECT_EQ(ProgressPageProc(page, WM_COMMAND, MAKEWPARAM(IDC_PROGRESS_START, BN_CLICKED), 0), 1);
    EXPECT_EQ(CurrentIndex(), 3) << "the Report is current when Start returns";
    EXPECT_FALSE(PathExists(L"\\Temp\\old.tmp"));
    EXPECT_EQ(g_stats.tasksPerformed, 1);
    EXPECT_EQ(g_stats.bytesReclaimed, 40u);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, IDC_PROGRESS_BAR)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_PROGRESS_START)));
    EXPECT_EQ(g_pendingTasks, PENDING_RUN_STARTED);
    EXPECT_FALSE(PumpMessages()) << "no quit without exit-when-finished";

    /* Start again without a reload: no task, and the Report again. */
    PropSheet_SetCurSel(g_shell.sheet, NULL, 0);
    EXPECT_EQ(ProgressPageProc(page, WM_COMMAND, IDC_PROGRESS_START, 0), 1);
    EXPECT_EQ(g_stats.tasksPerformed, 0);
    EXPECT_EQ(CurrentIndex(), 3);
}

TEST_F(ProgressPage, ExitWhenFinishedPostsTheQuitInsteadOfTheReport)
{
    Select(OPT_EXIT_WHEN_FINISHED);
    SendMessageW(page, WM_COMMAND, IDC_PROGRESS_START, 0);
    EXPECT_EQ(CurrentIndex(), 0);
    EXPECT_TRUE(PumpMessages());
}

TEST_F(ProgressPage, ApplyEndsTheProgramAndHelpOpensMainContents)
{
    NMHDR apply = { g_shell.sheet, 0, (UINT)PSN_APPLY };
    EXPECT_EQ(ProgressPageProc(page, WM_NOTIFY, 0, (LPARAM)&apply), 0);
    EXPECT_TRUE(PumpMessages());

    InstallHelpCapture();
    NMHDR help = { g_shell.sheet, 0, (UINT)PSN_HELP };
    EXPECT_EQ(ProgressPageProc(page, WM_NOTIFY, 0, (LPARAM)&help), 0);
    EXPECT_EQ(CapturedHelpLine(), L"\"\\Windows\\peghelp.exe\" file:Kestrum.htm#Main_Contents");
    RemoveHelpCapture();
}

/* --- the whole program --- */

TEST(ProgressProgram, AutoStartWithExitWhenFinishedCleansAndEndsWithZero)
{
    InstallKestrum();
    StoreSettings(OPT_WINDOWS_TEMP | OPT_FOLDER1 | OPT_EXIT_WHEN_FINISHED, 1, L"\\My Documents\\Temp",
                  L"\\My Documents\\Temp1");
    MakeFile(L"\\Temp\\auto\\old.tmp", 10, FileTimeFromNow(-86400.0 * 3));
    MakeFile(L"\\My Documents\\Temp\\old.doc", 10, FileTimeFromNow(-86400.0 * 3));
    MakeFileNow(L"\\My Documents\\Temp\\new.doc", 10);
    PROCESS_INFORMATION process;
    ASSERT_TRUE(StartKestrum(L"S", &process));
    EXPECT_EQ(WaitForExit(process), 0u);
    EXPECT_FALSE(PathExists(L"\\Temp\\auto"));
    EXPECT_FALSE(PathExists(L"\\My Documents\\Temp\\old.doc"));
    EXPECT_TRUE(PathExists(L"\\My Documents\\Temp\\new.doc"));
}

TEST(ProgressProgram, AutoStartWithoutExitLeavesTheReportCurrent)
{
    InstallKestrum();
    StoreSettings(OPT_WINDOWS_TEMP, 1, L"\\My Documents\\Temp", L"\\My Documents\\Temp1");
    PROCESS_INFORMATION process;
    ASSERT_TRUE(StartKestrum(L"S", &process));
    HWND main = WaitForMainWindow(process);
    ASSERT_TRUE(main != NULL);
    HWND sheet = FindWindowExW(main, NULL, NULL, NULL);
    while (sheet && SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0) == 0)
        sheet = FindWindowExW(main, sheet, NULL, NULL);
    ASSERT_TRUE(sheet != NULL);
    HWND current = (HWND)SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
    EXPECT_EQ(SendMessageW(sheet, PSM_HWNDTOINDEX, (WPARAM)current, 0), 3);
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(process), 0u);
}

namespace {

/* Makes every file of a folder read-only, which a purge cannot delete, and
 * writable again when it goes. */
struct ReadOnlyFiles {
    std::vector<std::wstring> paths;
    explicit ReadOnlyFiles(const std::wstring &folder)
    {
        WIN32_FIND_DATAW entry;
        HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
        if (find == INVALID_HANDLE_VALUE)
            return;
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                paths.push_back(folder + L"\\" + entry.cFileName);
        } while (FindNextFileW(find, &entry));
        FindClose(find);
        for (const std::wstring &path : paths)
            EXPECT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    }
    ~ReadOnlyFiles()
    {
        for (const std::wstring &path : paths)
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    }
};

} // namespace

/* A folder path that resolves to the store's root, purged with age 0, deletes
 * every file there; the device stays a device, so the "S" start after it
 * cleans again and ends with 0. */
TEST(ProgressProgram, APurgeOfTheStoresRootLeavesTheDeviceADevice)
{
    InstallKestrum();
    StoreSettings(OPT_FOLDER1 | OPT_EXIT_WHEN_FINISHED, 0, L"\\Temp\\..");
    MakeFile(L"\\old at the root.txt", 10, FileTimeFromNow(-60));
    /* Kestrum and this program's files stay for the second start and the tests after it. */
    ReadOnlyFiles kestrum(L"\\Program Files\\Kestrum"), tests(L"\\Tests");

    PROCESS_INFORMATION process;
    ASSERT_TRUE(StartKestrum(L"S", &process));
    ASSERT_EQ(WaitForExit(process), 0u);
    ASSERT_FALSE(PathExists(L"\\old at the root.txt")) << "the purge did not reach the root";

    MakeFile(L"\\old at the root.txt", 10, FileTimeFromNow(-60));
    ASSERT_TRUE(StartKestrum(L"S", &process));
    EXPECT_EQ(WaitForExit(process), 0u) << "the device was unmade";
    EXPECT_FALSE(PathExists(L"\\old at the root.txt")) << "the second start did not clean";
}
