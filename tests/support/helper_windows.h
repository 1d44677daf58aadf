/*
 * Helper processes with windows (helper_windows.exe and copies of it under
 * other names), started and settled by a test: the test's own observer window
 * counts the close requests it receives without obeying them, and a barrier
 * posted behind whatever was posted to the helpers' windows proves, once each
 * has answered, that every earlier request was handled.
 */
#ifndef KESTRUM_TESTS_HELPER_WINDOWS_H
#define KESTRUM_TESTS_HELPER_WINDOWS_H

#include <windows.h>
#include <map>
#include <string>
#include <vector>

/* A visible top-level window of a class of its own. */
HWND CreateObserverWindow(const wchar_t *className, const wchar_t *title);

/* Close requests the observer window has received. */
extern LONG g_observerCloses;

/* Each barrier answer: window -> close requests it had received by then. */
extern std::map<HWND, LONG> g_helperReports;

/* Waits up to 50 ms for messages and dispatches all that are waiting. */
void PumpOnce(void);

struct HelperWindow {
    HWND handle;
    std::wstring className;
    std::wstring title;
    bool visible; /* asked for with 'v': found only once it shows */
};

struct RunningHelper {
    PROCESS_INFORMATION process;
    std::vector<HelperWindow> windows; /* in the order of the arguments */
};

/* Starts exe (a device path) with one "FLAGS|CLASS|TITLE" argument per
 * window and waits until every window exists; the test fails otherwise. */
RunningHelper StartHelper(const WCHAR *exe, const std::vector<std::wstring> &arguments);

/* Ends the helper if it still runs and closes its handles. */
void EndHelper(RunningHelper &helper);

/* The windows of a process, in the platform's window order. */
std::vector<HWND> WindowsOfProcess(DWORD processId);

/* Posts the barrier to each window asked and to the observer, and waits until
 * each answered or is gone. Afterwards every close request made before has
 * been handled. */
void SettleWindows(HWND observer, std::vector<HWND> asked);

#endif
