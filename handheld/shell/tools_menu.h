/*
 * The Tools menu's commands, called by the main window procedure with the
 * main window: About, Soft Reset, Power Off and Close All.
 */
#ifndef KESTRUM_SHELL_TOOLS_MENU_H
#define KESTRUM_SHELL_TOOLS_MENU_H

#include <windows.h>

void ToolsMenu_OnAbout(HWND mainWindow);
void ToolsMenu_OnSoftReset(HWND mainWindow);
void ToolsMenu_OnPowerOff(HWND mainWindow);
void ToolsMenu_OnCloseAll(HWND mainWindow);

#endif
