/*
 * helper_launch.exe [ARGUMENTS]: starts the installed Kestrum
 * (\Program Files\Kestrum\Kestrum.exe) with the given arguments and returns
 * once its main window exists and Kestrum has answered a message from its
 * message loop with every window painted (for screenshots).
 * Exit status 0 when Kestrum is running and idle, 1 otherwise.
 */
#include <windows.h>

static BOOL CALLBACK PaintNow(HWND window, LPARAM)
{
    RedrawWindow(window, NULL, NULL, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return TRUE;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR arguments, int)
{
    WCHAR line[600];
    wsprintfW(line, L"\"\\Program Files\\Kestrum\\Kestrum.exe\" %.500s", arguments);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    if (!CreateProcessW(NULL, line, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return 1;
    HWND main = NULL;
    /* The window appears at start-up step 12; the process ending first is a failure. */
    while (!(main = FindWindowW(L"Tarnwick Kestrum", L"Kestrum"))
           && WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT) {
    }
    DWORD_PTR answer;
    bool ok = main && SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer);
    if (ok) {
        EnumThreadWindows(process.dwThreadId, PaintNow, 0);
        ok = SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer) != 0;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ok ? 0 : 1;
}
