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
#include "shell/startup.h"
#include "shell_test_support.h"

namespace {

/* A 32-bit top-down bitmap selected into a memory context, to paint on and read back. */
struct Canvas {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
    DWORD *pixels;
    int width, height;

    Canvas(int w, int h) : width(w), height(h)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void *bits = NULL;
        dc = CreateCompatibleDC(NULL);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, NULL, 0);
        previous = SelectObject(dc, bitmap);
        pixels = (DWORD *)bits;
        memset(pixels, 0x55, (size_t)w * h * 4);
    }
    ~Canvas()
    {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    DWORD At(int x, int y) const { return pixels[y * width + x] & 0xFFFFFF; }
    /* True when the rectangle holds the same pixels as on other. */
    bool SameAs(const Canvas &other, int left, int top, int right, int bottom) const
    {
        for (int y = top; y < bottom; y++)
            for (int x = left; x < right; x++)
                if (At(x, y) != other.At(x, y))
                    return false;
        return true;
    }
};

/* 0x00RRGGBB as a DIB stores it, from r, g, b. */
DWORD Rgb(int r, int g, int b) { return (DWORD)(r << 16 | g << 8 | b); }

class ProgressPage : public testing::Test {
protected:
    void SetUp() override
    {
        ZeroMemory(&g_shell, sizeof(g_shell));
        g_shell.instance = (HINSTANCE)KestrumResources();
        ASSERT_TRUE(g_shell.instance != NULL);
        BuildShellTexts();
        CreateDrawingObjects();
        DeleteKeyTree(HKEY_LOCAL_MACHINE, SETTINGS_KEY);
        LoadSettings();
        FillTaskTable();
        ZeroStatistics();
        UnregisterClassW(g_shell.className, g_shell.instance);
        ASSERT_TRUE(RegisterMainWindowClass());
        ASSERT_TRUE(CreateMainWindow());
        PumpMessages();
        page = g_shell.progressPage;
        ASSERT_TRUE(page != NULL);
        GetClientRect(page, &client);
    }
    void TearDown() override
    {
        if (IsWindow(g_shell.mainWindow))
            DestroyWindow(g_shell.mainWindow);
        PumpMessages();
    }
    void Select(DWORD flags)
    {
        g_settings.flags = flags;
        LoadPendingTaskMask();
    }
    int CurrentIndex()
    {
        HWND current = (HWND)SendMessageW(g_shell.sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
        return (int)SendMessageW(g_shell.sheet, PSM_HWNDTOINDEX, (WPARAM)current, 0);
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
    Canvas painted(client.right, client.bottom), expected(client.right, client.bottom);
    PaintTaskList(page, painted.dc);
    Expected(expected, L"Selected Options", {{38, g_shell.pendingIcon}, {55, g_shell.pendingIcon}});

    EXPECT_TRUE(painted.SameAs(expected, 0, 0, client.right, 30)) << "header band";
    EXPECT_TRUE(painted.SameAs(expected, 0, 38, 22, 38 + 34)) << "pending icons of both rows";
    EXPECT_TRUE(painted.SameAs(expected, 0, 72, 22, client.bottom)) << "nothing below the second row";
    EXPECT_EQ(painted.At(0, 2), Rgb(204, 240, 238)) << "the header strip starts pale aqua";
    EXPECT_EQ(painted.At(0, 100), Rgb(255, 255, 255)) << "the body strip starts white";
    EXPECT_FALSE(painted.SameAs(expected, 30, 38, client.right, 55)) << "the first row carries text";
    EXPECT_FALSE(painted.SameAs(expected, 30, 55, client.right, 72)) << "the second row carries text";
    EXPECT_TRUE(painted.SameAs(expected, 0, 72, client.right, client.bottom)) << "no third row";
}

TEST_F(ProgressPage, AfterARunTheListReadsCompletedTasksWithDoneIcons)
{
    Select(OPT_WINDOWS_TEMP);
    g_pendingTasks = PENDING_RUN_STARTED; /* what a run leaves */
    Canvas painted(client.right, client.bottom), done(client.right, client.bottom), pending(client.right, client.bottom);
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

    ASSERT_TRUE(CopyFileW(L"\\Tests\\helper_peghelp.exe", L"\\Windows\\peghelp.exe", FALSE));
    HANDLE started = CreateEventW(NULL, TRUE, FALSE, L"KestrumTestHelpStarted");
    NMHDR help = { g_shell.sheet, 0, (UINT)PSN_HELP };
    EXPECT_EQ(ProgressPageProc(page, WM_NOTIFY, 0, (LPARAM)&help), 0);
    ASSERT_EQ(WaitForSingleObject(started, 60000), WAIT_OBJECT_0);
    CloseHandle(started);
    WCHAR line[200] = {};
    HANDLE file = CreateFileW(L"\\Temp\\peghelp.txt", GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    DWORD read = 0;
    ReadFile(file, line, sizeof(line) - 2, &read, NULL);
    CloseHandle(file);
    EXPECT_STREQ(line, L"\"\\Windows\\peghelp.exe\" file:Kestrum.htm#Main_Contents");
    DeleteFileW(L"\\Windows\\peghelp.exe");
}

/* --- the whole program --- */

static void StoreFlags(DWORD flags)
{
    SettingsRecord record = {};
    record.flags = flags;
    record.ageLimitDays = 1;
    wcscpy(record.folder1Path, L"\\My Documents\\Temp");
    wcscpy(record.folder2Path, L"\\My Documents\\Temp1");
    ASSERT_EQ(WriteRegistryBytes(HKEY_LOCAL_MACHINE, SETTINGS_KEY, SETTINGS_VALUE, (const BYTE *)&record, sizeof(record)), 0);
}

TEST(ProgressProgram, AutoStartWithExitWhenFinishedCleansAndEndsWithZero)
{
    InstallKestrum();
    StoreFlags(OPT_WINDOWS_TEMP | OPT_FOLDER1 | OPT_EXIT_WHEN_FINISHED);
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
    StoreFlags(OPT_WINDOWS_TEMP);
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
