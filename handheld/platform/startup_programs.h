/*
 * What the emulated device does after a soft reset: start every shortcut in
 * its start-up folder ("\Windows\StartUp") with the target command line the
 * shortcut stores. Only programs inside the device's store are started.
 */
#ifndef KESTRUM_PLATFORM_STARTUP_PROGRAMS_H
#define KESTRUM_PLATFORM_STARTUP_PROGRAMS_H

#include <windows.h>
#include <stddef.h>

/* Splits a shortcut target into its program and its argument text. The
 * program is either quoted ("\"\\Program Files\\A\\a.exe\" S") or runs to the
 * first space ("\\Windows\\a.exe S"); the arguments are the rest after the
 * spaces that follow it, as stored. The program must be a path of the device's
 * store (one leading backslash, no drive, no "/", no server) or a bare file
 * name, which the handheld looks for in \Windows. Fails, leaving both buffers
 * empty, for anything else, an unclosed quotation mark, or a part that does
 * not fit its buffer (capacities in characters, terminator included). */
bool PlatformSplitStartupTarget(const WCHAR *target, WCHAR *program, size_t programCapacity, WCHAR *arguments,
                                size_t argumentsCapacity);

/* Starts the target of every "*.lnk" file in the start-up folder, in the
 * folder's listing order. A bare program name is started only if it exists in
 * \Windows. Shortcuts that cannot be read or split, and programs that do not
 * start, are passed over. Returns how many programs started. */
int PlatformStartStartupShortcuts(void);

#endif
