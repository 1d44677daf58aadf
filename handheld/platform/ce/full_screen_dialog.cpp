/*
 * The shell's dialog set-up, whose flag bits are the platform's own.
 */
#include "platform/full_screen_dialog.h"
#include <aygshell.h>

static_assert(DIALOG_DONE_BUTTON == SHIDIF_DONEBUTTON && DIALOG_FULL_SCREEN == SHIDIF_SIZEDLGFULLSCREEN
                  && DIALOG_INPUT_PANEL_DOWN == SHIDIF_SIPDOWN,
              "the dialog set-up flags are the shell's");

BOOL PlatformInitFullScreenDialog(HWND dialog, DWORD flags)
{
    SHINITDLGINFO info;
    info.dwMask = SHIDIM_FLAGS;
    info.hDlg = dialog;
    info.dwFlags = flags;
    return SHInitDialog(&info);
}
