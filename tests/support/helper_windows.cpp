/* Helper processes with windows, the observer window and the barrier. */
#include "helper_windows.h"

#include <gtest/gtest.h>
#include "helper_protocol.h"
#include "message_recorder.h"
#include "wait_bound.h"

LONG g_observerCloses;
std::map<HWND, LONG> g_helperReports;

static LRESULT CALLBACK ObserverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        g_observerCloses++; /* never destroyed: the test must see the request */
        return 0;
    case HELPER_BARRIER:
        PostMessageW((HWND)wParam, HELPER_REPORT, (WPARAM)window, g_observerCloses);
        return 0;
    case HELPER_REPORT:
        g_helperReports[(HWND)wParam] = (LONG)lParam;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateObserverWindow(const wchar_t *className, const wchar_t *title)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ObserverProc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.lpszClassName = className;
    RegisterClassW(&wc);
    return CreateWindowW(className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, NULL, NULL,
                         wc.hInstance, NULL);
}

void PumpOnce(void)
{
    /* The 50 ms only paces the polling loops around it; no check depends on it. */
    MsgWaitForMultipleObjects(0, NULL, FALSE, 50, QS_ALLINPUT);
    PumpMessages();
}

namespace {

struct ProcessWindows {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectProcessWindows(HWND window, LPARAM param)
{
    ProcessWindows *state = (ProcessWindows *)param;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == state->processId)
        state->found.push_back(window);
    return TRUE;
}

std::wstring TextOf(HWND window, bool className)
{
    WCHAR text[256] = L"";
    if (className)
        GetClassNameW(window, text, 256);
    else
        GetWindowTextW(window, text, 256);
    return text;
}

} // namespace

std::vector<HWND> WindowsOfProcess(DWORD processId)
{
    ProcessWindows state = {processId, {}};
    EnumWindows(CollectProcessWindows, (LPARAM)&state);
    return state.found;
}

RunningHelper StartHelper(const WCHAR *exe, const std::vector<std::wstring> &arguments)
{
    std::wstring commandLine = L"\"" + std::wstring(exe) + L"\"";
    RunningHelper helper = {};
    for (const std::wstring &argument : arguments) {
        commandLine += L" \"" + argument + L"\"";
        size_t bar1 = argument.find(L'|'), bar2 = argument.find(L'|', bar1 + 1);
        helper.windows.push_back({NULL, argument.substr(bar1 + 1, bar2 - bar1 - 1), argument.substr(bar2 + 1),
                                  argument.substr(0, bar1).find(L'v') != std::wstring::npos});
    }
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    std::vector<WCHAR> line(commandLine.begin(), commandLine.end());
    line.push_back(0);
    if (!CreateProcessW(exe, line.data(), NULL, NULL, FALSE, 0, NULL, L"D:\\", &si, &helper.process)) {
        ADD_FAILURE() << "cannot start helper, error " << GetLastError();
        return helper;
    }
    /* A window exists before it is shown: the helper makes each window and
     * only then shows it, so a helper still busy creating may have a window
     * that the closer would pass over as hidden. Waiting for the helper's
     * message loop means every window has its final state. */
    WaitForInputIdle(helper.process.hProcess, WAIT_BOUND_MS);
    DWORD start = GetTickCount();
    size_t found = 0;
    while (found < helper.windows.size() && GetTickCount() - start < WAIT_BOUND_MS) {
        std::vector<HWND> windows = WindowsOfProcess(helper.process.dwProcessId);
        found = 0;
        for (HelperWindow &w : helper.windows) {
            w.handle = NULL;
            for (HWND h : windows)
                if (TextOf(h, true) == w.className && TextOf(h, false) == w.title &&
                    (!w.visible || IsWindowVisible(h)))
                    w.handle = h;
            found += w.handle != NULL;
        }
        if (found < helper.windows.size())
            PumpOnce();
    }
    EXPECT_EQ(found, helper.windows.size()) << "helper windows did not all appear";
    return helper;
}

void EndHelper(RunningHelper &helper)
{
    if (!helper.process.hProcess)
        return;
    if (WaitForSingleObject(helper.process.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(helper.process.hProcess, 0);
        WaitForSingleObject(helper.process.hProcess, WAIT_BOUND_MS);
    }
    CloseHandle(helper.process.hProcess);
    CloseHandle(helper.process.hThread);
    helper.process = {};
}

void SettleWindows(HWND observer, std::vector<HWND> asked)
{
    g_helperReports.clear();
    asked.push_back(observer);
    for (HWND h : asked)
        PostMessageW(h, HELPER_BARRIER, (WPARAM)observer, 0);
    DWORD start = GetTickCount();
    for (;;) {
        PumpOnce();
        size_t settled = 0;
        for (HWND h : asked)
            settled += g_helperReports.count(h) || !IsWindow(h);
        if (settled == asked.size())
            return;
        if (GetTickCount() - start > WAIT_BOUND_MS) {
            ADD_FAILURE() << "windows did not answer the barrier";
            return;
        }
    }
}
