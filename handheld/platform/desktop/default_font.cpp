/*
 * The handheld's default font on the desktop: the font of the window's own
 * dialog ("System" 8, which the handheld draws in its system font), or the
 * desktop's small interface font for a window without one.
 */
#include "platform/default_font.h"

HGDIOBJ PlatformSelectDefaultFont(HWND window, HDC dc)
{
    HFONT font = (HFONT)SendMessageW(window, WM_GETFONT, 0, 0);
    if (!font)
        font = (HFONT)GetStockObject(DEFAULT_GUI_FONT);
    return SelectObject(dc, font);
}

HFONT PlatformCreateFont(const LOGFONTW *font)
{
    LOGFONTW named = *font;
    if (!named.lfFaceName[0])
        lstrcpynW(named.lfFaceName, L"Tahoma", LF_FACESIZE);
    return CreateFontIndirectW(&named);
}
