/*
 * Set-foreground with the handheld's tagged handles, on desktop Win32.
 */
#include "platform/foreground.h"

HWND PlatformTagForOwnedWindows(HWND window)
{
    return (HWND)((ULONG_PTR)window | 1);
}

HWND PlatformUntaggedWindow(HWND window, bool *tagged)
{
    *tagged = ((ULONG_PTR)window & 1) != 0;
    return (HWND)((ULONG_PTR)window & ~(ULONG_PTR)1);
}

BOOL PlatformSetForegroundWindow(HWND window)
{
    bool tagged;
    HWND target = PlatformUntaggedWindow(window, &tagged);
    if (tagged) {
        HWND popup = GetLastActivePopup(target);
        if (popup)
            target = popup;
    }
    return SetForegroundWindow(target);
}
