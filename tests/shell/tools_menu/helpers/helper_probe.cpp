/*
 * helper_probe.exe ... TAG: a stand-in start-up program. Records the command
 * line it was started with in \Tests\probe-TAG.txt (UTF-16), TAG being its
 * last space-separated word, then signals the event "KestrumProbe-TAG" so the
 * test knows the record is complete.
 */
#include <windows.h>
#include <wchar.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    const WCHAR *line = GetCommandLineW();
    const WCHAR *tag = wcsrchr(line, L' ');
    tag = tag ? tag + 1 : line;
    if (lstrlenW(tag) > 32)
        return 1;

    WCHAR path[64];
    wsprintfW(path, L"\\Tests\\probe-%s.txt", tag);
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written;
        WriteFile(file, line, lstrlenW(line) * sizeof(WCHAR), &written, NULL);
        CloseHandle(file);
    }
    WCHAR name[64];
    wsprintfW(name, L"KestrumProbe-%s", tag);
    HANDLE done = OpenEventW(EVENT_MODIFY_STATE, FALSE, name);
    if (done) {
        SetEvent(done);
        CloseHandle(done);
    }
    return 0;
}
