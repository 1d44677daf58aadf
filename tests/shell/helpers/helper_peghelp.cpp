/*
 * Stand-in for the help viewer peghelp.exe: records the command line it was
 * started with in \Temp\peghelp.txt (UTF-16) and signals the event
 * "KestrumTestHelpStarted" so the test knows the record is complete.
 */
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    const WCHAR *line = GetCommandLineW();
    HANDLE file = CreateFileW(L"\\Temp\\peghelp.txt", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written;
        WriteFile(file, line, lstrlenW(line) * sizeof(WCHAR), &written, NULL);
        CloseHandle(file);
    }
    HANDLE done = OpenEventW(EVENT_MODIFY_STATE, FALSE, L"KestrumTestHelpStarted");
    if (done) {
        SetEvent(done);
        CloseHandle(done);
    }
    return 0;
}
