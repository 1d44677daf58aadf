/*
 * The first step of the emulated soft reset: the program's windows go before
 * anything is started, silently. Done on a thread of its own that plays the
 * program: an active main window titled like Kestrum's, a child, an owned
 * popup and a hundred more top-level windows, all recording what their procedure receives. A window left behind
 * would make the restarted Kestrum end with 16; a procedure that still ran
 * could save the settings (the main window saves when it loses activation).
 */
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/device_power.h"
#include "wait_bound.h"

namespace {

const WCHAR CLASS_NAME[] = L"KestrumResetTestMain";

struct ResetSeen {
    bool made;
    int messagesDuringRemoval; /* to any of the program's procedures */
    bool mainGone, childGone, popupGone, othersGone;
    bool foundByName;
};

bool g_removing;
int g_messagesDuringRemoval;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (g_removing)
        ++g_messagesDuringRemoval;
    return DefWindowProcW(window, message, wParam, lParam);
}

DWORD WINAPI PlayTheProgram(void *param)
{
    ResetSeen *seen = (ResetSeen *)param;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.lpszClassName = CLASS_NAME;
    RegisterClassW(&wc);
    HWND main = CreateWindowW(CLASS_NAME, L"Kestrum", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 240, 294, NULL, NULL,
                              wc.hInstance, NULL);
    HWND child = CreateWindowW(CLASS_NAME, L"page", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, main, NULL, wc.hInstance,
                               NULL);
    HWND popup = CreateWindowW(CLASS_NAME, L"bar", WS_POPUP | WS_VISIBLE, 0, 294, 240, 26, main, NULL, wc.hInstance,
                               NULL);
    /* More top-level windows than one round of the removal takes. */
    HWND others[100];
    for (HWND &w : others)
        w = CreateWindowW(CLASS_NAME, L"other", WS_POPUP, 0, 0, 10, 10, NULL, NULL, wc.hInstance, NULL);
    seen->made = main && child && popup;
    for (HWND w : others)
        seen->made = seen->made && w;
    SetForegroundWindow(main);
    SetActiveWindow(main);
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);

    g_removing = true;
    PlatformRemoveThreadWindows();
    g_removing = false;
    seen->messagesDuringRemoval = g_messagesDuringRemoval;
    seen->mainGone = !IsWindow(main);
    seen->childGone = !IsWindow(child);
    seen->popupGone = !IsWindow(popup);
    seen->othersGone = true;
    for (HWND w : others)
        seen->othersGone = seen->othersGone && !IsWindow(w);
    seen->foundByName = FindWindowW(CLASS_NAME, L"Kestrum") != NULL;
    return 0;
}

} // namespace

TEST(SoftResetWindows, GoBeforeAnythingStartsWithoutTheirProceduresRunning)
{
    ResetSeen seen = {};
    HANDLE thread = CreateThread(NULL, 0, PlayTheProgram, &seen, 0, NULL);
    ASSERT_TRUE(thread != NULL);
    ASSERT_EQ(WaitForSingleObject(thread, WAIT_BOUND_MS), WAIT_OBJECT_0);
    CloseHandle(thread);
    ASSERT_TRUE(seen.made);
    EXPECT_TRUE(seen.mainGone);
    EXPECT_TRUE(seen.childGone);
    EXPECT_TRUE(seen.popupGone);
    EXPECT_TRUE(seen.othersGone) << "windows beyond the first round stayed";
    EXPECT_FALSE(seen.foundByName) << "a new instance would find the old window";
    EXPECT_EQ(seen.messagesDuringRemoval, 0) << "a procedure ran on the way out";
}
