/*
 * The handheld shell's dialog set-up: a dialog sized to the whole screen,
 * with a done button in its title bar and the input panel down.
 */
#ifndef KESTRUM_PLATFORM_FULL_SCREEN_DIALOG_H
#define KESTRUM_PLATFORM_FULL_SCREEN_DIALOG_H

#include <windows.h>

/* Flag bits of the dialog set-up; the About box asks for 13 (all three). */
enum : DWORD {
    DIALOG_DONE_BUTTON = 0x1,
    DIALOG_FULL_SCREEN = 0x4,
    DIALOG_INPUT_PANEL_DOWN = 0x8,
};

/* Call from WM_INITDIALOG. The dialog loses any desktop caption. Full screen:
 * the dialog covers the screen area below the navigation bar.
 * Done button: the navigation bar shows "ok" for it, which ends the dialog as
 * WM_COMMAND with identifier 1 (IDOK). Returns FALSE for a null dialog. */
BOOL InitFullScreenDialog(HWND dialog, DWORD flags);

#endif
