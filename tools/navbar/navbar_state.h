/*
 * The navigation bar's decisions, apart from its window: which window it
 * speaks for, and what a tap at a point of the bar does.
 */
#ifndef KESTRUM_NAVBAR_STATE_H
#define KESTRUM_NAVBAR_STATE_H

#include <windows.h>

enum NavTap { NAV_TAP_NOTHING, NAV_TAP_OK, NAV_TAP_HIDE };

/* The window the bar should speak for: the foreground window when it is a
 * visible window other than the bar and the desktop; otherwise the previous
 * target while it is still a visible window; otherwise none. */
HWND ChooseNavTarget(HWND foreground, HWND previous, HWND bar);

/* What a tap at x does on a bar width pixels wide: only the right end acts,
 * and only when there is a window to act on. */
NavTap DecideNavTap(int x, int width, HWND target, bool targetHasOk);

#endif
