/*
 * The Tools menu's commands: the device's soft reset and power off, closing
 * the other running programs, and the About box.
 */
#include "shell/tools_menu.h"
#include "shell/base/page_drawing.h"
#include "shell/base/shell_state.h"
#include "shell/base/white_page.h"
#include "closer/closer.h"
#include "platform/device_power.h"
#include "platform/full_screen_dialog.h"
#include "platform/input_panel.h"
#include "resources/resource.h"
#include "settings/record/settings_record.h"

/* The shell's dialog set-up for the About box: done button, full screen,
 * input panel down. */
static const DWORD ABOUT_DIALOG_FLAGS = DIALOG_DONE_BUTTON | DIALOG_FULL_SCREEN | DIALOG_INPUT_PANEL_DOWN;
static_assert(ABOUT_DIALOG_FLAGS == 13, "the About box asks for flags 13");

static const COLORREF WHITE = 0xFFFFFF;

void ToolsMenu_OnSoftReset(HWND mainWindow)
{
    (void)mainWindow;
    /* No save first: the settings were saved when they changed and whenever
     * the window lost activation. On success the call does not return; if
     * the device refuses, nothing more happens. */
    PlatformKernelRequest(PLATFORM_REBOOT_REQUEST, NULL, 0, NULL, 0, NULL);
}

void ToolsMenu_OnPowerOff(HWND mainWindow)
{
    (void)mainWindow;
    /* The quit goes first, so that the program ends when the device is on
     * again, and also when the device refuses to go off. */
    PostQuitMessage(0);
    PlatformPowerOff();
}

void ToolsMenu_OnCloseAll(HWND mainWindow)
{
    CloseRunningPrograms(mainWindow, g_settings.flags & OPT_KEEP_ACTIVESYNC);
}

void ToolsMenu_OnAbout(HWND mainWindow)
{
    ShowAboutBox(mainWindow);
}

INT_PTR ShowAboutBox(HWND owner)
{
    return DialogBoxParamW(g_shell.instance, MAKEINTRESOURCEW(IDD_ABOUT), owner, AboutBoxProc, 0);
}

static INT_PTR AboutBox_OnInitDialog(HWND dialog)
{
    PlatformInitFullScreenDialog(dialog, ABOUT_DIALOG_FLAGS);
    SetDlgItemTextW(dialog, IDC_ABOUT_VERSION, g_shell.versionText);
    return 1;
}

/* The header band over a white body, drawn on a context of the dialog's own. */
static INT_PTR AboutBox_OnEraseBkgnd(HWND dialog)
{
    PaintWhitePage(dialog, KESTRUM_PRODUCT);
    return 1;
}

/* The version and web lines in their colours on white; other statics keep
 * the default colours (answer 0). */
static INT_PTR AboutBox_OnCtlColorStatic(HDC dc, HWND control)
{
    COLORREF colour;
    switch (GetDlgCtrlID(control)) {
    case IDC_ABOUT_VERSION:
        colour = ABOUT_VERSION_COLOUR;
        break;
    case IDC_ABOUT_WEB:
        colour = ABOUT_WEB_COLOUR;
        break;
    default:
        return 0;
    }
    SetTextColor(dc, colour);
    SetBkColor(dc, WHITE);
    return (INT_PTR)GetStockObject(WHITE_BRUSH);
}

static INT_PTR AboutBox_OnCommand(HWND dialog, int id)
{
    if (id != IDOK)
        return 0;
    PlatformHideInputPanel(dialog);
    EndDialog(dialog, 1);
    return 1;
}

INT_PTR CALLBACK AboutBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return AboutBox_OnInitDialog(dialog);
    case WM_ERASEBKGND:
        return AboutBox_OnEraseBkgnd(dialog);
    case WM_CTLCOLORSTATIC:
        return AboutBox_OnCtlColorStatic((HDC)wParam, (HWND)lParam);
    case WM_COMMAND:
        return AboutBox_OnCommand(dialog, LOWORD(wParam));
    }
    return 0;
}
