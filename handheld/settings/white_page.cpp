/* Header band and white body shared by the Options and Settings pages. */
#include "settings/white_page.h"
#include "shell/page_drawing.h"
#include "shell/shell_state.h"

void PaintWhitePageOn(HWND page, HDC dc, const WCHAR *title)
{
    DrawPageHeaderBand(page, dc, g_shell.headerBrush, WHITE_PAGE_TITLE_COLOUR, title);
    RECT body;
    GetClientRect(page, &body);
    body.top += HEADER_BAND_HEIGHT;
    FillRect(dc, &body, (HBRUSH)GetStockObject(WHITE_BRUSH));
}

void PaintWhitePage(HWND page, const WCHAR *title)
{
    HDC dc = GetDC(page);
    if (!dc)
        return;
    PaintWhitePageOn(page, dc, title);
    ReleaseDC(page, dc);
}
