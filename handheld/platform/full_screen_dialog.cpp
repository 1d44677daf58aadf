/*
 * Full-screen dialogs on the desktop: the caption plays the handheld's top
 * bar and its close box plays the done button.
 */
#include "platform/full_screen_dialog.h"
#include "platform/input_panel.h"
#include "platform/main_window_frame.h"

BOOL PlatformInitFullScreenDialog(HWND dialog, DWORD flags)
{
    if (!dialog)
        return FALSE;
    if (flags & DIALOG_FULL_SCREEN) {
        RECT area = PlatformScreenArea();
        MoveWindow(dialog, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    }
    if (flags & DIALOG_DONE_BUTTON) {
        LONG style = GetWindowLongW(dialog, GWL_STYLE);
        SetWindowLongW(dialog, GWL_STYLE, style | WS_CAPTION | WS_SYSMENU);
        SetWindowPos(dialog, NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        PlatformCloseBoxSendsCommandOne(dialog);
    }
    if (flags & DIALOG_INPUT_PANEL_DOWN)
        PlatformHideInputPanel(dialog);
    return TRUE;
}
