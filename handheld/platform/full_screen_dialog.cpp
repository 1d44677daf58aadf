/*
 * Full-screen dialogs on the desktop: the caption plays the handheld's top
 * bar and its close box plays the done button.
 */
#include "platform/full_screen_dialog.h"
#include "platform/input_panel.h"
#include "platform/main_window_frame.h"
#include <commctrl.h>

static LRESULT CALLBACK DoneButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR id, DWORD_PTR data)
{
    (void)id;
    (void)data;
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
        return 0;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

BOOL InitFullScreenDialog(HWND dialog, DWORD flags)
{
    if (!dialog)
        return FALSE;
    if (flags & DIALOG_FULL_SCREEN) {
        RECT area = HandheldScreenArea();
        MoveWindow(dialog, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    }
    if (flags & DIALOG_DONE_BUTTON) {
        LONG style = GetWindowLongW(dialog, GWL_STYLE);
        SetWindowLongW(dialog, GWL_STYLE, style | WS_CAPTION | WS_SYSMENU);
        SetWindowPos(dialog, NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        SetWindowSubclass(dialog, DoneButtonProc, 1, 0);
    }
    if (flags & DIALOG_INPUT_PANEL_DOWN)
        HideInputPanel(dialog);
    return TRUE;
}
