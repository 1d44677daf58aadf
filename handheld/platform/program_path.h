/*
 * The program's own executable path as the handheld names it: a device path
 * from the root of the store, without a drive letter
 * ("\Program Files\Kestrum\Kestrum.exe"), so texts that hold it (the start-up
 * shortcut) read as they would on the handheld.
 */
#ifndef KESTRUM_PLATFORM_PROGRAM_PATH_H
#define KESTRUM_PLATFORM_PROGRAM_PATH_H

#include <windows.h>
#include <stddef.h>

/* Drops a leading "X:" from a desktop path; any other path is copied as it is.
 * Returns false (dst empty) when the result does not fit capacity characters. */
bool PlatformHandheldPathFromDesktopPath(WCHAR *dst, size_t capacity, const WCHAR *desktopPath);

/* The executable's path into buffer (capacity characters, terminator included).
 * Returns the length in characters, or 0 (buffer empty) on failure or when the
 * path does not fit. */
DWORD PlatformProgramPath(WCHAR *buffer, DWORD capacity);

#endif
