/*
 * The Tools menu's commands, called by the main window procedure with the
 * main window: About, Soft Reset, Power Off and Close All.
 */
#ifndef KESTRUM_SHELL_TOOLS_MENU_H
#define KESTRUM_SHELL_TOOLS_MENU_H

#include <windows.h>
#include "shell/base/page_drawing.h"

void ToolsMenu_OnAbout(HWND mainWindow);
void ToolsMenu_OnSoftReset(HWND mainWindow);
void ToolsMenu_OnPowerOff(HWND mainWindow);
void ToolsMenu_OnCloseAll(HWND mainWindow);

/* Colours of the About box's version line and web line. */
enum : COLORREF {
    ABOUT_VERSION_COLOUR = PAGE_TITLE_BLUE,
    ABOUT_WEB_COLOUR = 0xFF0000,     /* blue */
};

/* Runs the About box (dialog 103 of the shell's instance) modally, owned by
 * owner; returns the dialog's result (1 after done, -1 if it could not be
 * shown). */
INT_PTR ShowAboutBox(HWND owner);

/* The About box's dialog procedure. */
INT_PTR CALLBACK AboutBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
