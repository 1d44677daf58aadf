/*
 * Another process's executable path: on the handheld a process handle also
 * names the process's module, whose file name the system keeps.
 */
#include "platform/process_path.h"
#include "common/bounded_text.h"

bool PlatformProcessExecutablePath(DWORD processId, WCHAR *path)
{
    path[0] = 0;
    HANDLE process = OpenProcess(0, FALSE, processId);
    if (process == NULL)
        return false;
    DWORD length = GetModuleFileNameW((HMODULE)process, path, PATH_CHARS);
    CloseHandle(process);
    /* A path that filled the buffer may have been cut short. */
    if (length == 0 || length >= PATH_CHARS) {
        path[0] = 0;
        return false;
    }
    return true;
}
