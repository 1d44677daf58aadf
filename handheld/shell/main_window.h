/*
 * The main window: its procedure (menu bar and sheet at creation, settings
 * saved on deactivation, "ok" as deactivate-then-close, the Tools commands).
 */
#ifndef KESTRUM_SHELL_MAIN_WINDOW_H
#define KESTRUM_SHELL_MAIN_WINDOW_H

#include <windows.h>

enum : DWORD {
    MAIN_CLASS_STYLE = CS_HREDRAW | CS_VREDRAW,          /* 3 */
    MAIN_WINDOW_EX_STYLE = 0x80000000,                  /* "ok" in the title bar */
    MAIN_WINDOW_STYLE = WS_VISIBLE,                     /* 0x10000000 */
};
enum { MAIN_OK_COMMAND = 1 };

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

/* Start-up steps 11 and 12: the class and the window. Return false on failure. */
bool RegisterMainWindowClass(void);
bool CreateMainWindow(void);

#endif
