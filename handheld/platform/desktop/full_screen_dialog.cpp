/*
 * Full-screen dialogs on the desktop: below the navigation bar, without a
 * caption, and with the bar's "ok" as the done button.
 */
#include "platform/full_screen_dialog.h"
#include "platform/input_panel.h"
#include "platform/main_window_frame.h"

BOOL PlatformInitFullScreenDialog(HWND dialog, DWORD flags)
{
    if (!dialog)
        return FALSE;
    /* The navigation bar shows the dialog's title; a desktop caption would
     * only repeat it with a close box the handheld does not have. */
    LONG style = GetWindowLongW(dialog, GWL_STYLE);
    if (style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME)) {
        SetWindowLongW(dialog, GWL_STYLE, style & ~(LONG)(WS_CAPTION | WS_SYSMENU | WS_THICKFRAME));
        SetWindowPos(dialog, NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    if (flags & DIALOG_FULL_SCREEN) {
        RECT area = PlatformScreenArea();
        MoveWindow(dialog, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    }
    if (flags & DIALOG_DONE_BUTTON)
        PlatformGiveOkButton(dialog);
    if (flags & DIALOG_INPUT_PANEL_DOWN)
        PlatformHideInputPanel(dialog);
    return TRUE;
}
