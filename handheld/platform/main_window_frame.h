/*
 * Top-level windows the handheld way. On the handheld a program's window at
 * the default position and size fills the screen between the shell's
 * navigation bar (26 pixels at the top) and the menu bar, carries no caption,
 * and the extended style 0x80000000 makes the navigation bar show "ok" for it,
 * which sends WM_COMMAND with identifier 1. On the desktop the window is a
 * captionless popup below the emulated navigation bar (tools/navbar), and the
 * style bit, which desktop Win32 must never see, is kept as a window property
 * that the bar reads.
 */
#ifndef KESTRUM_PLATFORM_MAIN_WINDOW_FRAME_H
#define KESTRUM_PLATFORM_MAIN_WINDOW_FRAME_H

#include <windows.h>

enum : DWORD { WS_EX_HANDHELD_OK_BUTTON = 0x80000000 };

/* Height of the handheld shell's two bars: the navigation bar across the top
 * of the screen and a program's menu bar along the bottom. */
enum : int { HANDHELD_BAR_HEIGHT = 26 };

/* The window property that stands for the ok style; a non-null value means
 * the navigation bar shows "ok" for the window. */
#define HANDHELD_OK_PROPERTY L"HandheldOkButton"

/* The handheld's create-window for top-level windows; the arguments mean what
 * they mean there. Child windows pass through unchanged. */
HWND PlatformCreateWindow(DWORD exStyle, const WCHAR *className, const WCHAR *title, DWORD style,
                          int x, int y, int width, int height, HWND parent, HMENU menu,
                          HINSTANCE instance, void *param);

/* Gives window the handheld's ok: the navigation bar shows "ok" for it and
 * sends it WM_COMMAND 1 when tapped. The desktop's close request (Alt+F4)
 * does the same, since a captionless window has no other way to say done. */
void PlatformGiveOkButton(HWND window);

/* The screen area a full-screen window covers: the whole screen below the
 * navigation bar, less any desktop task bar. */
RECT PlatformScreenArea(void);

#endif
