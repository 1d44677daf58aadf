/*
 * The navigation bar as the user meets it: navbar.exe runs in its own
 * process (installed at D:\Windows by the harness) and speaks for windows
 * this test makes through the platform layer. Taps reach the bar as the
 * button-up message a click makes; a barrier posted after them tells when
 * the bar has handled every one.
 */
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include <vector>

#include "navbar_protocol.h"
#include "navbar_state.h"
#include "platform/main_window_frame.h"

namespace {

const DWORD WAIT_BOUND_MS = 30000; /* only stops a hung run */
const UINT BARRIER_DONE = WM_APP + 40;

struct Recorded {
    HWND window;
    UINT message;
    WPARAM wParam;
};
std::vector<Recorded> g_seen;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND || message == WM_CLOSE || message == WM_DESTROY || message == BARRIER_DONE)
        g_seen.push_back({window, message, wParam});
    if (message == WM_CLOSE || message == BARRIER_DONE)
        return 0; /* never let the bar's taps close a window behind the test's back */
    return DefWindowProcW(window, message, wParam, lParam);
}

int Count(HWND window, UINT message, WPARAM wParam)
{
    int n = 0;
    for (const Recorded &r : g_seen)
        n += r.window == window && r.message == message && r.wParam == wParam;
    return n;
}

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

/* Pumps until done() holds; false when the bound ran out. */
template <typename F> bool WaitFor(F done)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > WAIT_BOUND_MS)
            return false;
        Pump();
        MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

std::wstring BarTitle(HWND bar)
{
    std::wstring title;
    for (WPARAM i = 0; i < 256; ++i) {
        WCHAR c = (WCHAR)SendMessageW(bar, NAVBAR_QUERY_TITLE_CHAR, i, 0);
        if (!c)
            break;
        title += c;
    }
    return title;
}

class NavBarTest : public ::testing::Test {
protected:
    PROCESS_INFORMATION process = {};
    HWND bar = NULL;

    void SetUp() override
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = GetModuleHandleW(NULL);
        wc.lpszClassName = L"NavBarTestWindow";
        RegisterClassW(&wc);
        g_seen.clear();
        STARTUPINFOW si = {};
        si.cb = sizeof(si);
        WCHAR command[] = L"D:\\Windows\\navbar.exe";
        ASSERT_TRUE(CreateProcessW(NULL, command, NULL, NULL, FALSE, 0, NULL, L"D:\\", &si, &process));
        ASSERT_TRUE(WaitFor([&] { return (bar = FindWindowW(NAVBAR_CLASS, NULL)) != NULL && IsWindowVisible(bar); }));
    }

    void TearDown() override
    {
        if (process.hProcess) {
            if (bar)
                PostMessageW(bar, WM_CLOSE, 0, 0);
            if (WaitForSingleObject(process.hProcess, WAIT_BOUND_MS) != WAIT_OBJECT_0)
                TerminateProcess(process.hProcess, 1);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
    }

    HWND Open(const WCHAR *title, DWORD exStyle)
    {
        HWND w = CreateWindowHandheld(exStyle, L"NavBarTestWindow", title, WS_VISIBLE, (int)CW_USEDEFAULT,
                                      (int)CW_USEDEFAULT, (int)CW_USEDEFAULT, (int)CW_USEDEFAULT, NULL, NULL,
                                      GetModuleHandleW(NULL), NULL);
        SetForegroundWindow(w);
        return w;
    }

    /* Taps the bar's right end, where "ok" or the cross is, then waits until
     * the bar has handled the tap. */
    void TapRightEnd(HWND barrierWindow)
    {
        RECT client;
        GetClientRect(bar, &client);
        LPARAM at = MAKELPARAM(client.right - NAVBAR_OK_WIDTH / 2, client.bottom / 2);
        PostMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageW(bar, WM_LBUTTONUP, 0, at);
        PostMessageW(bar, NAVBAR_BARRIER, (WPARAM)barrierWindow, BARRIER_DONE);
        ASSERT_TRUE(WaitFor([&] { return Count(barrierWindow, BARRIER_DONE, 0) > 0; }));
        Pump(); /* whatever the bar posted before the barrier has arrived */
    }
};

TEST_F(NavBarTest, BarSitsAcrossTheTopAndWindowsStartBelowIt)
{
    RECT rect;
    GetWindowRect(bar, &rect);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.bottom - rect.top, NAVBAR_HEIGHT);
    EXPECT_EQ(rect.right - rect.left, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(GetWindowTextLengthW(bar), 0) << "untitled, so the program closer leaves it alone";

    HWND w = Open(L"Tide Tables", 0);
    GetWindowRect(w, &rect);
    EXPECT_EQ(rect.top, NAVBAR_HEIGHT);
    EXPECT_EQ(GetWindowLongW(w, GWL_STYLE) & WS_CAPTION, 0);
    DestroyWindow(w);
}

TEST_F(NavBarTest, OkTapSendsExactlyOneCommandOne)
{
    HWND w = Open(L"Pocket Notes", WS_EX_HANDHELD_OK_BUTTON);
    ASSERT_TRUE(WaitFor([&] { return (HWND)SendMessageW(bar, NAVBAR_QUERY_TARGET, 0, 0) == w; }));
    EXPECT_EQ(SendMessageW(bar, NAVBAR_QUERY_OK, 0, 0), 1);
    TapRightEnd(w);
    EXPECT_EQ(Count(w, WM_COMMAND, MAKEWPARAM(IDOK, 0)), 1);
    EXPECT_EQ(Count(w, WM_CLOSE, 0), 0);
    EXPECT_TRUE(IsWindowVisible(w));
    DestroyWindow(w);
}

TEST_F(NavBarTest, CrossTapHidesAWindowWithoutOkAndDoesNotCloseIt)
{
    HWND w = Open(L"Sketch Pad", 0);
    ASSERT_TRUE(WaitFor([&] { return (HWND)SendMessageW(bar, NAVBAR_QUERY_TARGET, 0, 0) == w; }));
    EXPECT_EQ(SendMessageW(bar, NAVBAR_QUERY_OK, 0, 0), 0);
    TapRightEnd(w);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(w); }));
    EXPECT_TRUE(IsWindow(w));
    EXPECT_EQ(Count(w, WM_COMMAND, MAKEWPARAM(IDOK, 0)), 0);
    EXPECT_EQ(Count(w, WM_CLOSE, 0), 0);
    EXPECT_EQ(Count(w, WM_DESTROY, 0), 0);
    DestroyWindow(w);
}

TEST_F(NavBarTest, BarFollowsTheWindowInFrontItsTitleAndItsEnd)
{
    HWND first = Open(L"Tide Tables", WS_EX_HANDHELD_OK_BUTTON);
    ASSERT_TRUE(WaitFor([&] { return BarTitle(bar) == L"Tide Tables"; }));
    HWND second = Open(L"Star Chart", 0);
    ASSERT_TRUE(WaitFor([&] { return BarTitle(bar) == L"Star Chart"; }));
    EXPECT_EQ(SendMessageW(bar, NAVBAR_QUERY_OK, 0, 0), 0);

    SetWindowTextW(second, L"Star Chart - Orion");
    EXPECT_TRUE(WaitFor([&] { return BarTitle(bar) == L"Star Chart - Orion"; }));

    SetForegroundWindow(first);
    EXPECT_TRUE(WaitFor([&] { return BarTitle(bar) == L"Tide Tables"; }));
    EXPECT_EQ(SendMessageW(bar, NAVBAR_QUERY_OK, 0, 0), 1);

    DestroyWindow(first);
    EXPECT_TRUE(WaitFor([&] { return (HWND)SendMessageW(bar, NAVBAR_QUERY_TARGET, 0, 0) != first; }))
        << "a window that went away is not spoken for";
    DestroyWindow(second);
}

TEST(NavBarDecisions, TapsAndTargets)
{
    HWND some = GetDesktopWindow(); /* any non-null handle stands for a target */
    static const struct {
        int x;
        bool target, ok;
        NavTap expected;
    } taps[] = {
        {239, true, true, NAV_TAP_OK},       {240 - NAVBAR_OK_WIDTH, true, false, NAV_TAP_HIDE},
        {239 - NAVBAR_OK_WIDTH, true, true, NAV_TAP_NOTHING}, {10, true, true, NAV_TAP_NOTHING},
        {239, false, true, NAV_TAP_NOTHING}, {240, true, true, NAV_TAP_NOTHING},
    };
    for (const auto &t : taps)
        EXPECT_EQ(DecideNavTap(t.x, 240, t.target ? some : NULL, t.ok), t.expected) << t.x;

    HWND bar = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    HWND shown = CreateWindowExW(0, L"STATIC", L"a", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    HWND hidden = CreateWindowExW(0, L"STATIC", L"b", WS_POPUP, 0, 0, 10, 10, NULL, NULL, NULL, NULL);
    EXPECT_EQ(ChooseNavTarget(shown, NULL, bar), shown);
    EXPECT_EQ(ChooseNavTarget(bar, shown, bar), shown) << "tapping the bar keeps the target";
    EXPECT_EQ(ChooseNavTarget(NULL, shown, bar), shown);
    EXPECT_EQ(ChooseNavTarget(GetDesktopWindow(), hidden, bar), (HWND)NULL);
    EXPECT_EQ(ChooseNavTarget(hidden, NULL, bar), (HWND)NULL);
    DestroyWindow(bar);
    DestroyWindow(shown);
    DestroyWindow(hidden);
}

} // namespace
