/* Header band and white body of the Options and Settings pages and the About box. */
#include "shell/base/white_page.h"
#include "shell/base/page_drawing.h"
#include "shell/base/shell_state.h"

void PaintWhitePageOn(HWND page, HDC dc, const WCHAR *title)
{
    DrawPageHeaderBand(page, dc, g_shell.headerBrush, PAGE_TITLE_BLUE, title);
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
