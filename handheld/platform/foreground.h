/*
 * Bringing a window forward the handheld way: a window handle with its
 * lowest bit set asks for the window and the dialogs it owns to come to the
 * front. Desktop Win32 knows no such tag, so it never sees the tagged handle.
 */
#ifndef KESTRUM_PLATFORM_FOREGROUND_H
#define KESTRUM_PLATFORM_FOREGROUND_H

#include <windows.h>

/* The handle with the tag that asks for the owned windows too. */
HWND PlatformTagForOwnedWindows(HWND window);

/* The window a possibly tagged handle names, and whether it was tagged. */
HWND PlatformUntaggedWindow(HWND window, bool *tagged);

/* The handheld's set-foreground request: a tagged handle brings forward the
 * window's last active popup (an open dialog) or the window itself. */
BOOL PlatformSetForegroundWindow(HWND window);

#endif
