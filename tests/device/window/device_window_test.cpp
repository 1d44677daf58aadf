/*
 * Run by tests/device/device_tool_test.sh inside a device that tools/device
 * created and seeded: the help viewer is found and started the way Kestrum
 * starts it, shows the asked topic on the handheld's screen and closes on
 * request; the demo programs run and end when asked to close.
 */
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

#include "wait_bound.h"

namespace {

/* Waits for a window to appear: the viewer and the demo programs start
 * asynchronously. The limit only stops a broken run from hanging. */
HWND WaitForWindow(const WCHAR *cls, const WCHAR *title)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < WAIT_BOUND_MS;) {
        HWND w = FindWindowW(cls, title);
        if (w)
            return w;
        Sleep(50); /* paces the search only: another process makes the window */
    }
    return NULL;
}

std::wstring WindowText(HWND w)
{
    WCHAR buffer[8192];
    LRESULT n = SendMessageW(w, WM_GETTEXT, 8192, (LPARAM)buffer);
    return std::wstring(buffer, (size_t)n);
}

/* Starts the viewer as Kestrum's help launcher does: the viewer "peghelp.exe"
 * found in \Windows, then the argument, current directory D:\ (the process
 * information only so the test can wait on it). */
bool StartViewer(const WCHAR *topic, PROCESS_INFORMATION *pi)
{
    WCHAR commandLine[300];
    wsprintfW(commandLine, L"\"\\Windows\\peghelp.exe\" file:Kestrum.htm#%s", topic);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    return CreateProcessW(NULL, commandLine, NULL, NULL, FALSE, 0, NULL, NULL, &si, pi) != 0;
}

struct ViewerCase {
    const WCHAR *topic;
    const WCHAR *title;
    const WCHAR *mustShow;      /* text of this topic */
    const WCHAR *mustNotShow;   /* text of the next topic */
};

TEST(HelpViewer, ShowsEachTopicOnTheHandheldScreen)
{
    const ViewerCase cases[] = {
        {L"Main_Contents", L"Kestrum Help", L"Tap Start", L"asks every running program to close"},
        {L"options", L"Cleaning options", L"- Dead shortcuts: removes shortcuts", L"Delete files older then"},
        {L"settings", L"Program settings", L"- Delete files older then ... days", L"Files used by system"},
        {L"report", L"The report", L"- Total bytes reclaimed: the size of all deleted files.", L"Run at Soft Reset"},
        {L"missing_topic", L"Help", L"The topic missing_topic is not in Kestrum.htm.", L"Kestrum frees"},
    };
    for (const ViewerCase &c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        PROCESS_INFORMATION pi = {};
        ASSERT_TRUE(StartViewer(c.topic, &pi)) << "CreateProcess(\\Windows\\peghelp.exe) failed: " << GetLastError();
        WaitForInputIdle(pi.hProcess, WAIT_BOUND_MS);
        HWND viewer = WaitForWindow(L"PegHelpViewer", c.title);
        ASSERT_TRUE(viewer != NULL) << "no viewer window with the topic's title";

        RECT r;
        GetWindowRect(viewer, &r);
        EXPECT_EQ(0, r.left);
        EXPECT_EQ(26, r.top) << "below the navigation bar";
        EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), r.right);
        EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), r.bottom);
        EXPECT_EQ(240, GetSystemMetrics(SM_CXSCREEN));
        EXPECT_EQ(320, GetSystemMetrics(SM_CYSCREEN));

        EXPECT_EQ(GetWindowLongW(viewer, GWL_STYLE) & WS_CAPTION, 0);
        EXPECT_TRUE(GetPropW(viewer, L"HandheldOkButton") != NULL) << "the bar's ok closes it";

        HWND edit = FindWindowExW(viewer, NULL, L"Edit", NULL);
        ASSERT_TRUE(edit != NULL);
        EXPECT_TRUE(GetWindowLongW(edit, GWL_STYLE) & ES_READONLY);
        std::wstring text = WindowText(edit);
        EXPECT_NE(std::wstring::npos, text.find(c.mustShow)) << "topic text lacks its own content";
        EXPECT_EQ(std::wstring::npos, text.find(c.mustNotShow)) << "topic text runs into the next topic";
        EXPECT_EQ(std::wstring::npos, text.find(L'<')) << "markup left in the text";

        PostMessageW(viewer, WM_CLOSE, 0, 0);
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(pi.hProcess, WAIT_BOUND_MS));
        DWORD code = 1;
        GetExitCodeProcess(pi.hProcess, &code);
        EXPECT_EQ(0u, code);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
}

TEST(HelpViewer, ANewTopicReplacesTheOpenViewer)
{
    PROCESS_INFORMATION first = {}, second = {};
    ASSERT_TRUE(StartViewer(L"report", &first));
    ASSERT_TRUE(WaitForWindow(L"PegHelpViewer", L"The report") != NULL);
    ASSERT_TRUE(StartViewer(L"options", &second));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(first.hProcess, WAIT_BOUND_MS)) << "the first viewer stayed open";
    HWND viewer = WaitForWindow(L"PegHelpViewer", L"Cleaning options");
    ASSERT_TRUE(viewer != NULL);
    PostMessageW(viewer, WM_CLOSE, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(second.hProcess, WAIT_BOUND_MS));
    for (PROCESS_INFORMATION *pi : {&first, &second}) {
        CloseHandle(pi->hThread);
        CloseHandle(pi->hProcess);
    }
}

/* The seeded device runs three demo programs; each ends when its window is
 * asked to close, and its \Demo\Running file goes with it. */
TEST(DemoPrograms, RunAndCloseOnRequest)
{
    const WCHAR *titles[] = {L"Pocket Notes", L"Sketch Pad", L"ActiveSync"};
    for (const WCHAR *t : titles) {
        EXPECT_TRUE(FindWindowW(L"KestrumDemoApp", t) != NULL) << "demo program not running";
        std::wstring marker = std::wstring(L"\\Demo\\Running\\") + t + L".txt";
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(marker.c_str()));
    }
    HWND sketch = FindWindowW(L"KestrumDemoApp", L"Sketch Pad");
    ASSERT_TRUE(sketch != NULL);
    DWORD pid = 0;
    GetWindowThreadProcessId(sketch, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    ASSERT_TRUE(process != NULL);
    PostMessageW(sketch, WM_CLOSE, 0, 0);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process, WAIT_BOUND_MS));
    CloseHandle(process);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(L"\\Demo\\Running\\Sketch Pad.txt"));
    EXPECT_TRUE(FindWindowW(L"KestrumDemoApp", L"Pocket Notes") != NULL) << "closing one closed another";
}

}  // namespace
