/*
 * The handheld's create-process takes the program and its argument text
 * apart, and finds a bare program name in \Windows itself.
 */
#include "platform/process_start.h"

BOOL PlatformStartProgram(const WCHAR *program, const WCHAR *arguments)
{
    PROCESS_INFORMATION process;
    if (!CreateProcessW(program, (WCHAR *)arguments, NULL, NULL, FALSE, 0, NULL, NULL, NULL, &process))
        return FALSE;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return TRUE;
}
