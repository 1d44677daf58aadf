/*
 * The two drawing rules that give every page its look: the 30-pixel header
 * band at the top of a page, and one task line of a list or of the report.
 * Both draw into a drawing context the caller obtained and releases.
 */
#ifndef KESTRUM_SHELL_BASE_PAGE_DRAWING_H
#define KESTRUM_SHELL_BASE_PAGE_DRAWING_H

#include <windows.h>

/* The dark blue of page titles and headings, 0x00BBGGRR. */
enum : COLORREF { PAGE_TITLE_BLUE = 0x7F0000 };

enum {
    HEADER_BAND_HEIGHT = 30,
    FIRST_ROW_TOP = 38, /* the first task or report line, below the client top */
    PAGE_TEXT_FLAGS = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX, /* 0x850 */
    PLAIN_TEXT_ROW = 0xFFFF, /* the task bit of a line without an icon */
};

/* Fills the band with brush and writes text in the bold font and colour,
 * then underlines the band with the context's pen. */
void DrawPageHeaderBand(HWND window, HDC dc, HBRUSH brush, COLORREF colour, const WCHAR *text);

/* Draws the line of a task bit (or a plain-text row) in row, in the
 * context's text colour; text may be NULL. Returns the height used: 0 when
 * the bit is not selected in the settings, 16 for an icon without text,
 * 17 for a drawn text. */
int DrawTaskLine(HDC dc, RECT row, WORD bit, const WCHAR *text);

#endif
