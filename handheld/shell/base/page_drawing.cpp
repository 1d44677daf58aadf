/* Header band and task line, shared by the pages, the About box, the run and the Report. */
#include "shell/base/page_drawing.h"
#include "shell/base/shell_state.h"
#include "engine/cleaning_state.h"
#include "settings/record/settings_record.h"

void DrawPageHeaderBand(HWND window, HDC dc, HBRUSH brush, COLORREF colour, const WCHAR *text)
{
    RECT client;
    GetClientRect(window, &client);
    RECT band = client;
    band.bottom = client.top + HEADER_BAND_HEIGHT;
    FillRect(dc, &band, brush);

    HGDIOBJ previousFont = SelectObject(dc, g_shell.boldFont);
    SetTextColor(dc, colour);
    SetBkMode(dc, TRANSPARENT);
    RECT textRect = band;
    textRect.left = client.left + 30;
    textRect.top = client.top + 5;
    DrawTextW(dc, text, -1, &textRect, PAGE_TEXT_FLAGS);
    SelectObject(dc, previousFont);

    /* A one-pixel line under the band. */
    Rectangle(dc, 0, 29, client.right, 30);
}

int DrawTaskLine(HDC dc, RECT row, WORD bit, const WCHAR *text)
{
    if (!(g_settings.flags & bit))
        return 0;
    if (bit == PLAIN_TEXT_ROW) {
        row.left += 20;
        if (!text)
            return 0;
        DrawTextW(dc, text, -1, &row, PAGE_TEXT_FLAGS);
        return 17;
    }
    HICON icon = (g_pendingTasks & bit) ? g_shell.pendingIcon : g_shell.doneIcon;
    DrawIconEx(dc, row.left + 5, row.top, icon, 0, 0, 0, NULL, DI_NORMAL);
    row.left += 30;
    if (!text)
        return 16;
    DrawTextW(dc, text, -1, &row, PAGE_TEXT_FLAGS);
    return 17;
}
