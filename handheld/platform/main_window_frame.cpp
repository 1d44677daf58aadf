/*
 * The main window's frame on the desktop: placement and the title bar's "ok".
 */
#include "platform/main_window_frame.h"
#include <commctrl.h>

RECT PlatformScreenArea(void)
{
    RECT area;
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
        SetRect(&area, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return area;
}

/* The close box stands for "ok": the window gets WM_COMMAND 1, as on the handheld. */
static LRESULT CALLBACK OkButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
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

void PlatformCloseBoxSendsCommandOne(HWND window)
{
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
    if (!(style & WS_POPUP))
        style |= WS_CAPTION | WS_SYSMENU; /* the handheld's top bar: title and close box */

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
        PlatformCloseBoxSendsCommandOne(window);
    return window;
}
