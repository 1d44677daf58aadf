/*
 * The full path of another process's executable file, as the closer needs it
 * to tell programs apart by their file name. The handheld answers this from
 * its process list; the desktop asks the process itself.
 */
#ifndef KESTRUM_PLATFORM_PROCESS_PATH_H
#define KESTRUM_PLATFORM_PROCESS_PATH_H

#include <windows.h>

/* Writes the executable path of the process into path, a buffer of PATH_CHARS
 * (260) characters. When the process cannot be asked, or its path would not
 * fit, path holds an empty string and the result is false. */
bool PlatformProcessExecutablePath(DWORD processId, WCHAR *path);

#endif
