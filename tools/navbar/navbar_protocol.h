/*
 * What the emulated navigation bar shares with the programs that drive or
 * inspect it: its window class, its size, where "ok" sits, and the messages
 * it answers. A query message is handled on the bar's own thread after it
 * looked at the screen again and painted any change, so its answer is never
 * stale and is what the bar shows.
 */
#ifndef KESTRUM_NAVBAR_PROTOCOL_H
#define KESTRUM_NAVBAR_PROTOCOL_H

#include <windows.h>

#define NAVBAR_CLASS L"HandheldNavBar"

enum : int {
    NAVBAR_HEIGHT = 26,
    NAVBAR_OK_WIDTH = 28,   /* "ok" or the smart-minimise cross, at the right end */
    NAVBAR_FLAG_WIDTH = 26, /* the Start flag, at the left end */
};

enum : UINT {
    /* Returns the window the bar speaks for (null when none). */
    NAVBAR_QUERY_TARGET = WM_APP + 1,
    /* Returns 1 when the bar shows "ok", 0 when it shows the cross. */
    NAVBAR_QUERY_OK = WM_APP + 2,
    /* Returns the title character at index wParam as the bar shows it, 0 past its end. */
    NAVBAR_QUERY_TITLE_CHAR = WM_APP + 3,
    /* Posted: the bar posts message lParam to window wParam, so whoever posted
     * taps before it knows they were all handled. */
    NAVBAR_BARRIER = WM_APP + 4,
};

#endif
