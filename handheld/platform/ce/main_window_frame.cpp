/*
 * Top-level windows on the handheld: the system itself places a window of
 * default position and size between the bars and honours the ok style.
 */
#include "platform/main_window_frame.h"

HWND PlatformCreateWindow(DWORD exStyle, const WCHAR *className, const WCHAR *title, DWORD style,
                          int x, int y, int width, int height, HWND parent, HMENU menu,
                          HINSTANCE instance, void *param)
{
    return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menu, instance, param);
}
