/*
 * The Report page (dialog 106): no controls; the statistics of the last
 * cleaning run are painted afresh whenever the page's background is erased.
 */
#include "settings/pages/settings_pages.h"
#include "settings/pages/report_paint.h"
#include "settings/pages/report_lines.h"
#include "engine/cleaning_state.h"
#include "platform/default_font.h"
#include "platform/input_panel.h"
#include "shell/base/help_launcher.h"
#include "shell/base/page_drawing.h"
#include "shell/base/shell_state.h"
#include <prsht.h>

void PaintReportOn(HWND page, HDC dc)
{
    DrawPageHeaderBand(page, dc, g_shell.reportHeaderBrush, REPORT_TITLE_COLOUR, L"Report");

    RECT client;
    GetClientRect(page, &client);
    RECT body = client;
    body.top += HEADER_BAND_HEIGHT;
    FillRect(dc, &body, g_shell.reportBodyBrush);

    HGDIOBJ previousFont = PlatformSelectDefaultFont(page, dc);
    SetTextColor(dc, REPORT_TEXT_COLOUR);
    SetBkMode(dc, TRANSPARENT);
    RECT row = client;
    row.top += FIRST_ROW_TOP;
    for (int i = 0; i < REPORT_LINE_COUNT; i++) {
        WCHAR text[REPORT_LINE_CHARS];
        FormatReportLine(i, g_stats, text);
        /* A line that wraps still moves the next one down by one row only. */
        row.top += DrawTaskLine(dc, row, PLAIN_TEXT_ROW, text);
        row.top += ReportLineGap(i);
    }
    SelectObject(dc, previousFont);
}

/* The page's own window context rather than BeginPaint: the report is drawn
 * while the background is erased, and inside a paint already begun a second
 * BeginPaint would find nothing left to paint. */
void PaintReport(HWND page)
{
    HDC dc = GetDC(page);
    if (!dc)
        return;
    PaintReportOn(page, dc);
    ReleaseDC(page, dc);
}

INT_PTR CALLBACK ReportPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    switch (message) {
    case WM_INITDIALOG:
        return 1;
    case WM_ERASEBKGND:
        PlatformHideInputPanel(page);
        PaintReport(page);
        return 1;
    case WM_NOTIFY:
        if (((NMHDR *)lParam)->code == (UINT)PSN_HELP)
            OpenHelp(L"report");
        return 0;
    }
    return 0;
}
