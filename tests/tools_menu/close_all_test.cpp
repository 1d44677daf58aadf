/*
 * Close All from the Tools menu against real windows of the closer's stand-in
 * application: the "Do not close ActiveSync" setting decides about the window
 * titled "ActiveSync", other applications are always asked, and the program's
 * own main window (titled "Kestrum") never is. Waits are bounded polls; the
 * helper's barrier answer proves every earlier request was handled.
 */
#include <gtest/gtest.h>
#include <windows.h>
#include <map>
#include <vector>

#include "device.h"
#include "helper_protocol.h"
#include "observer_window.h"
#include "settings/record/settings_record.h"
#include "shell/tools_menu.h"

namespace {

const DWORD WAIT_BOUND_MS = 60000;

HWND g_main;

struct Found {
    DWORD processId;
    const wchar_t *title;
    HWND window;
};

BOOL CALLBACK FindTitled(HWND window, LPARAM param)
{
    Found *f = (Found *)param;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    WCHAR title[64] = L"";
    GetWindowTextW(window, title, 64);
    if (processId == f->processId && lstrcmpW(title, f->title) == 0)
        f->window = window;
    return TRUE;
}

struct CloseAllCase {
    DWORD flags;
    LONG activeSyncCloses;
};

const CloseAllCase CASES[] = {
    {OPT_KEEP_ACTIVESYNC, 0},
    {OPT_KEEP_ACTIVESYNC | OPT_STOP_PROGRAMS | OPT_SOUND_ON, 0},
    {0, 1},
    {0xFFFFFFFF & ~(DWORD)OPT_KEEP_ACTIVESYNC, 1},
};

class CloseAll : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        /* Titled like the program's main window; a class of its own so that
         * tests looking for a running Kestrum never take it for one. */
        g_main = CreateObserverWindow(L"KestrumToolsTestMain", L"Kestrum");
    }

    static void TearDownTestSuite()
    {
        DestroyWindow(g_main);
        g_main = NULL;
    }

    void TearDown() override
    {
        if (WaitForSingleObject(helper_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(helper_.hProcess, 0);
            WaitForSingleObject(helper_.hProcess, WAIT_BOUND_MS);
        }
        CloseHandle(helper_.hProcess);
        CloseHandle(helper_.hThread);
    }

    /* Starts the stand-in with two visible windows that count and ignore
     * close requests; fails the test unless both appear. */
    void StartHelper()
    {
        WCHAR line[] = L"\"\\Tests\\helper_windows.exe\" \"vi|HelperNotes|Notes\" \"vi|HelperSync|ActiveSync\"";
        STARTUPINFOW si = {};
        si.cb = sizeof(si);
        ASSERT_TRUE(CreateProcessW(NULL, line, NULL, NULL, FALSE, 0, NULL, L"D:\\", &si, &helper_));
        Found notes = {helper_.dwProcessId, L"Notes", NULL};
        Found sync = {helper_.dwProcessId, L"ActiveSync", NULL};
        DWORD start = GetTickCount();
        while ((!notes.window || !sync.window) && GetTickCount() - start < WAIT_BOUND_MS) {
            EnumWindows(FindTitled, (LPARAM)&notes);
            EnumWindows(FindTitled, (LPARAM)&sync);
            if (!notes.window || !sync.window)
                PumpOnce();
        }
        ASSERT_TRUE(notes.window && sync.window) << "helper windows did not appear";
        notes_ = notes.window;
        sync_ = sync.window;
    }

    /* Every close request made so far has been handled once this returns. */
    void Settle()
    {
        g_helperReports.clear();
        HWND asked[] = {notes_, sync_, g_main};
        for (HWND h : asked)
            PostMessageW(h, HELPER_BARRIER, (WPARAM)g_main, 0);
        DWORD start = GetTickCount();
        while (g_helperReports.size() < 3) {
            ASSERT_LT(GetTickCount() - start, WAIT_BOUND_MS) << "windows did not answer";
            PumpOnce();
        }
    }

    PROCESS_INFORMATION helper_ = {};
    HWND notes_ = NULL;
    HWND sync_ = NULL;
};

} // namespace

TEST_F(CloseAll, AsksOtherProgramsAndActiveSyncOnlyWhenNotKept)
{
    ASSERT_TRUE(g_main != NULL);
    StartHelper();
    for (const CloseAllCase &c : CASES) {
        SCOPED_TRACE(testing::Message() << "flags 0x" << std::hex << c.flags);
        Settle();
        LONG notesBefore = g_helperReports[notes_];
        LONG syncBefore = g_helperReports[sync_];

        g_settings.flags = c.flags;
        g_observerCloses = 0;
        ToolsMenu_OnCloseAll(g_main);
        Settle();

        EXPECT_EQ(g_helperReports[notes_] - notesBefore, 1) << "an ordinary application is asked once";
        EXPECT_EQ(g_helperReports[sync_] - syncBefore, c.activeSyncCloses);
        EXPECT_EQ(g_helperReports[g_main], 0) << "the program's own main window is never asked";
    }
}
