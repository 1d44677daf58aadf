#include "navbar_state.h"
#include "navbar_protocol.h"

static bool Shown(HWND window, HWND bar)
{
    return window && window != bar && window != GetDesktopWindow() && IsWindow(window) && IsWindowVisible(window);
}

HWND ChooseNavTarget(HWND foreground, HWND previous, HWND bar)
{
    if (Shown(foreground, bar))
        return foreground;
    /* Tapping the bar may leave no foreground window for a moment; the bar
     * keeps speaking for the window the user saw. */
    if (Shown(previous, bar))
        return previous;
    return NULL;
}

NavTap DecideNavTap(int x, int width, HWND target, bool targetHasOk)
{
    if (!target || x < width - NAVBAR_OK_WIDTH || x >= width)
        return NAV_TAP_NOTHING;
    return targetHasOk ? NAV_TAP_OK : NAV_TAP_HIDE;
}
