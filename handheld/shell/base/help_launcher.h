/*
 * The help launcher: starts the help viewer "peghelp.exe" at a topic of
 * the help file Kestrum.htm.
 */
#ifndef KESTRUM_SHELL_BASE_HELP_LAUNCHER_H
#define KESTRUM_SHELL_BASE_HELP_LAUNCHER_H

#include <windows.h>
#include <stddef.h>

enum { HELP_ARGUMENT_CHARS = 260 };

/* "file:Kestrum.htm#<topic>", the topic as given. Returns false (dst empty)
 * when the text does not fit capacity characters. */
bool FormatHelpArgument(WCHAR *dst, size_t capacity, const WCHAR *topic);

/* Starts the viewer at topic. A failure is silent; no handle stays open. */
void OpenHelp(const WCHAR *topic);

#endif
