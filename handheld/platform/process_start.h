/*
 * Starting another program the handheld way. On the handheld a process is
 * created from a program name and an argument text; a bare name is found in
 * \Windows. Desktop Win32 wants one command line that begins with the
 * program, and searches elsewhere, so the platform builds that here.
 */
#ifndef KESTRUM_PLATFORM_PROCESS_START_H
#define KESTRUM_PLATFORM_PROCESS_START_H

#include <windows.h>
#include <stddef.h>

/* The desktop command line for program and arguments: "\"program\" arguments".
 * Returns false (dst empty) when it does not fit capacity characters. */
bool PlatformBuildCommandLine(WCHAR *dst, size_t capacity, const WCHAR *program, const WCHAR *arguments);

/* Starts program with arguments, as the handheld's create-process does with
 * no security attributes, inheritance, flags, environment, folder or start-up
 * information. A bare program name is looked for in \Windows first, as on the
 * handheld. No handle is left open. Returns whether the process started. */
BOOL PlatformStartProgram(const WCHAR *program, const WCHAR *arguments);

#endif
