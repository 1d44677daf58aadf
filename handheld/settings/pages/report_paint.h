/*
 * Painting the Report: the green "Report" band, the body strip, and the ten
 * lines of the cleaning statistics as plain-text rows in the handheld's
 * default font.
 */
#ifndef KESTRUM_SETTINGS_PAGES_REPORT_PAINT_H
#define KESTRUM_SETTINGS_PAGES_REPORT_PAINT_H

#include <windows.h>

enum : COLORREF { REPORT_TITLE_COLOUR = 0x5000, REPORT_TEXT_COLOUR = 0 };

/* Draws the whole report into dc, laid out on the page's client rectangle.
 * dc is the page's own context or any other of the page's client size. */
void PaintReportOn(HWND page, HDC dc);

/* Paints the report on the page through a context obtained and released
 * here; nothing is drawn when none is obtained. */
void PaintReport(HWND page);

#endif
