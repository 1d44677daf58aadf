/* Executable path of a process through the limited query right, which any
 * process may be granted for another process of the same user. */
#include "platform/process_path.h"
#include "common/bounded_text.h"

bool PlatformProcessExecutablePath(DWORD processId, WCHAR *path)
{
    path[0] = 0;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == NULL)
        return false;
    DWORD size = PATH_CHARS;
    BOOL ok = QueryFullProcessImageNameW(process, 0, path, &size);
    CloseHandle(process);
    if (!ok || size >= PATH_CHARS) {
        path[0] = 0;
        return false;
    }
    path[size] = 0;
    return true;
}
