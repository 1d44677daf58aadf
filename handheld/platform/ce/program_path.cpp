/*
 * The program's own path: the handheld names it from the store's root, with
 * no drive letter, already.
 */
#include "platform/program_path.h"

DWORD PlatformProgramPath(WCHAR *buffer, DWORD capacity)
{
    if (capacity == 0)
        return 0;
    DWORD length = GetModuleFileNameW(NULL, buffer, capacity);
    /* A path that filled the buffer may have been cut short. */
    if (length == 0 || length >= capacity) {
        buffer[0] = 0;
        return 0;
    }
    return length;
}
