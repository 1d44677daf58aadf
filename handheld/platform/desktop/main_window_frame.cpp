/*
 * The main window's frame on the desktop: placement below the navigation bar,
 * no caption, and the ok style kept where the bar can read it.
 */
#include "platform/main_window_frame.h"
#include <commctrl.h>

RECT PlatformScreenArea(void)
{
    RECT area;
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
        SetRect(&area, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    /* The navigation bar owns the top of the screen whether or not the
     * desktop's work area already leaves it out. */
    if (area.top < HANDHELD_BAR_HEIGHT)
        area.top = HANDHELD_BAR_HEIGHT;
    if (area.bottom < area.top)
        area.bottom = area.top;
    return area;
}

/* The desktop's close request stands for "ok": WM_COMMAND 1, as the bar sends. */
static LRESULT CALLBACK OkButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR data)
{
    (void)id;
    (void)data;
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
        return 0;
    }
    if (message == WM_NCDESTROY)
        RemovePropW(window, HANDHELD_OK_PROPERTY);
    return DefSubclassProc(window, message, wParam, lParam);
}

void PlatformGiveOkButton(HWND window)
{
    SetPropW(window, HANDHELD_OK_PROPERTY, (HANDLE)1);
    SetWindowSubclass(window, OkButtonProc, 1, 0);
}

HWND PlatformCreateWindow(DWORD exStyle, const WCHAR *className, const WCHAR *title, DWORD style,
                          int x, int y, int width, int height, HWND parent, HMENU menu,
                          HINSTANCE instance, void *param)
{
    if (style & WS_CHILD)
        return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menu,
                               instance, param);

    bool okButton = (exStyle & WS_EX_HANDHELD_OK_BUTTON) != 0;
    exStyle &= ~WS_EX_HANDHELD_OK_BUTTON;
    /* Desktop Win32 gives every overlapped window a caption; a popup has none,
     * as no handheld program's window has. The title still names the window
     * for the navigation bar. */
    style &= ~(DWORD)(WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
    style |= WS_POPUP;

    RECT area = PlatformScreenArea();
    if (x == (int)CW_USEDEFAULT) {
        x = area.left;
        y = area.top;
    }
    if (width == (int)CW_USEDEFAULT) {
        width = area.right - area.left;
        height = area.bottom - area.top;
    }

    HWND window = CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menu,
                                  instance, param);
    if (window && okButton)
        PlatformGiveOkButton(window);
    return window;
}
