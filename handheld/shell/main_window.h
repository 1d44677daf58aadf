/*
 * The main window: its procedure (menu bar and sheet at creation, settings
 * saved on deactivation, "ok" as deactivate-then-close, the Tools commands).
 */
#ifndef KESTRUM_SHELL_MAIN_WINDOW_H
#define KESTRUM_SHELL_MAIN_WINDOW_H

#include <windows.h>

enum : DWORD {
    MAIN_CLASS_STYLE = CS_HREDRAW | CS_VREDRAW,          /* 3 */
    MAIN_WINDOW_STYLE = WS_VISIBLE,                     /* 0x10000000 */
};
enum { MAIN_OK_COMMAND = 1 };

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

/* The window class and the main window, made at start-up. Return false on failure. */
bool RegisterMainWindowClass(void);
bool CreateMainWindow(void);

#endif
