/*
 * Top-level windows the handheld way. On the handheld a program's window at
 * the default position and size fills the screen above the menu bar, and the
 * extended style 0x80000000 puts an "ok" button into the title bar that sends
 * WM_COMMAND with identifier 1. On the desktop the window fills the screen
 * area, its caption plays the handheld's top bar, and the caption's close box
 * stands for "ok". The style bit itself never reaches desktop Win32.
 */
#ifndef KESTRUM_PLATFORM_MAIN_WINDOW_FRAME_H
#define KESTRUM_PLATFORM_MAIN_WINDOW_FRAME_H

#include <windows.h>

enum : DWORD { WS_EX_HANDHELD_OK_BUTTON = 0x80000000 };

/* The handheld's create-window for top-level windows; the arguments mean what
 * they mean there. Child windows pass through unchanged. */
HWND PlatformCreateWindow(DWORD exStyle, const WCHAR *className, const WCHAR *title, DWORD style,
                          int x, int y, int width, int height, HWND parent, HMENU menu,
                          HINSTANCE instance, void *param);

/* Makes the caption's close box of window send WM_COMMAND 1, the way the
 * handheld's title-bar "ok" and a full-screen dialog's done button do. */
void PlatformCloseBoxSendsCommandOne(HWND window);

/* The screen area a full-screen window covers (the whole screen, less any
 * desktop task bar). */
RECT PlatformScreenArea(void);

#endif
