/*
 * The executable's own path, without the desktop's drive letter.
 */
#include "platform/program_path.h"
#include "common/bounded_text.h"

bool PlatformHandheldPathFromDesktopPath(WCHAR *dst, size_t capacity, const WCHAR *desktopPath)
{
    const WCHAR *rest = desktopPath;
    WCHAR c = desktopPath[0];
    if (((c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z')) && desktopPath[1] == L':')
        rest = desktopPath + 2;
    return CopyText(dst, capacity, rest);
}

DWORD PlatformProgramPath(WCHAR *buffer, DWORD capacity)
{
    if (capacity == 0)
        return 0;
    buffer[0] = 0;
    WCHAR full[MAX_PATH + 1];
    DWORD n = GetModuleFileNameW(NULL, full, MAX_PATH + 1);
    if (n == 0 || n > MAX_PATH)
        return 0;
    if (!PlatformHandheldPathFromDesktopPath(buffer, capacity, full))
        return 0;
    return (DWORD)lstrlenW(buffer);
}
