/*
 * Fonts on the handheld: its drawing contexts already start with the system
 * font, and a font without a face name is made in the system face.
 */
#include "platform/default_font.h"

HGDIOBJ PlatformSelectDefaultFont(HWND window, HDC dc)
{
    (void)window;
    return SelectObject(dc, GetStockObject(SYSTEM_FONT));
}

HFONT PlatformCreateFont(const LOGFONTW *font)
{
    return CreateFontIndirectW(font);
}
