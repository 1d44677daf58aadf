/*
 * The whole start-up run in this process with Kestrum's resources: the
 * auto-start command reaches the Progress page after the window is shown,
 * painted and shortened for the menu bar, and before the message loop; a
 * running instance ends start-up with 16 before anything is created.
 * A quit message posted beforehand ends the loop as soon as it starts. The
 * stop releases every object, the window and the class that the start made.
 */
#include <gtest/gtest.h>
#include <windows.h>
#include <vector>

#include "resources/resource.h"
#include "shell/base/shell_state.h"
#include "shell/startup.h"
#include "kestrum_program.h"

namespace {

enum Event { START_COMMAND, LOOP_STARTED };
struct Seen {
    Event event;
    HWND target;
    bool mainVisible;
    bool mainPainted;
    RECT mainRect;
};
std::vector<Seen> g_events;

LRESULT CALLBACK SentHook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT *sent = (const CWPSTRUCT *)lParam;
    if (code == HC_ACTION && sent->message == WM_COMMAND && LOWORD(sent->wParam) == IDC_PROGRESS_START) {
        Seen seen = {START_COMMAND, sent->hwnd, IsWindowVisible(g_shell.mainWindow) != 0,
                     !GetUpdateRect(g_shell.mainWindow, NULL, FALSE), {}};
        GetWindowRect(g_shell.mainWindow, &seen.mainRect);
        g_events.push_back(seen);
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}

LRESULT CALLBACK LoopHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && (g_events.empty() || g_events.back().event != LOOP_STARTED))
        g_events.push_back({LOOP_STARTED, NULL, false, false, {}});
    return CallNextHookEx(NULL, code, wParam, lParam);
}

int RunKestrum(const wchar_t *commandLine)
{
    g_events.clear();
    ZeroMemory(&g_shell, sizeof(g_shell));
    HINSTANCE instance = (HINSTANCE)KestrumResources();
    HHOOK sent = SetWindowsHookExW(WH_CALLWNDPROC, SentHook, NULL, GetCurrentThreadId());
    HHOOK loop = SetWindowsHookExW(WH_GETMESSAGE, LoopHook, NULL, GetCurrentThreadId());
    PostQuitMessage(0);
    int status = KestrumMain(instance, commandLine, SW_SHOWNORMAL);
    UnhookWindowsHookEx(sent);
    UnhookWindowsHookEx(loop);
    PumpMessages();
    return status;
}

} // namespace

TEST(StartUp, AutoStartCommandGoesToTheProgressPageAfterShowingAndBeforeTheLoop)
{
    EXPECT_EQ(RunKestrum(L"xSy"), 0);
    EXPECT_TRUE(g_shell.autoStart);
    ASSERT_EQ(g_events.size(), 2u);
    ASSERT_EQ(g_events[0].event, START_COMMAND);
    EXPECT_EQ(g_events[0].target, g_shell.progressPage);
    EXPECT_TRUE(g_shell.progressPage != NULL);
    EXPECT_TRUE(g_events[0].mainVisible);
    EXPECT_TRUE(g_events[0].mainPainted);
    RECT area;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    EXPECT_EQ(g_events[0].mainRect.bottom, area.bottom - 26) << "room made for the menu bar";
    EXPECT_EQ(g_events[1].event, LOOP_STARTED);
    EXPECT_FALSE(IsWindow(g_shell.mainWindow)) << "clean-up destroys the window";
}

TEST(StartUp, NoCapitalSNoAutoStartCommand)
{
    EXPECT_EQ(RunKestrum(L"s"), 0);
    EXPECT_FALSE(g_shell.autoStart);
    ASSERT_EQ(g_events.size(), 1u);
    EXPECT_EQ(g_events[0].event, LOOP_STARTED);
}

TEST(StartUp, ARunningInstanceEndsStartUpWith16BeforeAnythingIsMade)
{
    WNDCLASSW cls = {};
    cls.lpfnWndProc = DefWindowProcW;
    cls.hInstance = GetModuleHandleW(NULL);
    cls.lpszClassName = L"Tarnwick Kestrum";
    ASSERT_TRUE(RegisterClassW(&cls));
    HWND running = CreateWindowExW(0, L"Tarnwick Kestrum", L"Kestrum", WS_OVERLAPPED, 0, 0, 50, 50, NULL, NULL,
                                   cls.hInstance, NULL);
    ASSERT_TRUE(running != NULL);
    ZeroMemory(&g_shell, sizeof(g_shell));
    EXPECT_EQ(KestrumMain((HINSTANCE)KestrumResources(), L"S", SW_SHOWNORMAL), 16);
    EXPECT_EQ(g_shell.boldFont, (HFONT)NULL);
    EXPECT_EQ(g_shell.mainWindow, (HWND)NULL);
    EXPECT_EQ(g_shell.progressPage, (HWND)NULL) << "no auto-start run in the second instance";
    DestroyWindow(running);
    UnregisterClassW(L"Tarnwick Kestrum", cls.hInstance);

    /* A window with the class but another title is not the program. */
    ASSERT_TRUE(RegisterClassW(&cls));
    HWND other = CreateWindowExW(0, L"Tarnwick Kestrum", L"Other", WS_OVERLAPPED, 0, 0, 50, 50, NULL, NULL,
                                 cls.hInstance, NULL);
    EXPECT_EQ(RunKestrum(L""), 0);
    DestroyWindow(other);
    UnregisterClassW(L"Tarnwick Kestrum", cls.hInstance);
}

TEST(StartUp, StopReleasesEverythingStartAcquired)
{
    ZeroMemory(&g_shell, sizeof(g_shell));
    HINSTANCE instance = (HINSTANCE)KestrumResources();
    ASSERT_TRUE(StartShell(instance, L""));
    const ShellState started = g_shell;
    StopShell();
    PumpMessages();

    const HGDIOBJ objects[] = {started.boldFont, started.progressBodyStrip, started.reportBodyStrip,
                               started.reportHeaderStrip, started.headerStrip, started.progressBodyBrush,
                               started.reportBodyBrush, started.reportHeaderBrush, started.headerBrush};
    for (HGDIOBJ object : objects) {
        EXPECT_TRUE(object != NULL) << "start-up made it";
        EXPECT_EQ(GetObjectType(object), 0u) << "still alive after the stop";
    }
    ICONINFO info;
    EXPECT_FALSE(GetIconInfo(started.doneIcon, &info));
    EXPECT_FALSE(GetIconInfo(started.pendingIcon, &info));
    EXPECT_FALSE(IsWindow(started.mainWindow));
    WNDCLASSW cls;
    EXPECT_FALSE(GetClassInfoW(instance, L"Tarnwick Kestrum", &cls)) << "the class is unregistered";
}
