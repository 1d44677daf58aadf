/*
 * Handheld create-process on desktop Win32.
 */
#include "platform/process_start.h"
#include "common/bounded_text.h"

bool PlatformBuildCommandLine(WCHAR *dst, size_t capacity, const WCHAR *program, const WCHAR *arguments)
{
    if (capacity > 0)
        dst[0] = 0;
    bool ok = AppendText(dst, capacity, L"\"") && AppendText(dst, capacity, program)
              && AppendText(dst, capacity, L"\"");
    if (ok && arguments && arguments[0])
        ok = AppendText(dst, capacity, L" ") && AppendText(dst, capacity, arguments);
    if (!ok && capacity > 0)
        dst[0] = 0;
    return ok;
}

static bool HasFolder(const WCHAR *program)
{
    for (const WCHAR *p = program; *p; ++p)
        if (*p == L'\\' || *p == L'/' || *p == L':')
            return true;
    return false;
}

BOOL PlatformStartProgram(const WCHAR *program, const WCHAR *arguments)
{
    WCHAR path[PATH_CHARS];
    const WCHAR *name = program;
    if (!HasFolder(program) && JoinPath(path, PATH_CHARS, L"\\Windows", program)
        && GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES)
        name = path;

    /* The argument text is at most a path's length; the name and quotes come on top. */
    WCHAR commandLine[2 * PATH_CHARS + 4];
    if (!PlatformBuildCommandLine(commandLine, sizeof(commandLine) / sizeof(commandLine[0]), name, arguments))
        return FALSE;

    STARTUPINFOW startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    if (!CreateProcessW(NULL, commandLine, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process))
        return FALSE;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return TRUE;
}
