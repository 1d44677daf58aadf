/*
 * The Tools menu's commands. The main window already routes the four
 * identifiers here; the commands' own work (About box, device reset, power
 * off, closing the other programs) is not built yet, so each entry point
 * does nothing for now.
 */
#include "shell/tools_menu.h"

void ToolsMenu_OnAbout(HWND mainWindow)
{
    (void)mainWindow; /* not built yet: the About box (dialog 103) */
}

void ToolsMenu_OnSoftReset(HWND mainWindow)
{
    (void)mainWindow; /* not built yet: the device's reboot request */
}

void ToolsMenu_OnPowerOff(HWND mainWindow)
{
    (void)mainWindow; /* not built yet: quit, then the power-off request */
}

void ToolsMenu_OnCloseAll(HWND mainWindow)
{
    (void)mainWindow; /* not built yet: closing the other running programs */
}
