/*
 * Set-foreground on the handheld, which itself reads the tag (the handle's
 * lowest bit) as "with the window's dialogs".
 */
#include "platform/foreground.h"

HWND PlatformTagForOwnedWindows(HWND window)
{
    return (HWND)((ULONG_PTR)window | 1);
}

BOOL PlatformSetForegroundWindow(HWND window)
{
    return SetForegroundWindow(window);
}
