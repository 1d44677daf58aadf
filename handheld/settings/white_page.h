/*
 * The background of the Options and Settings pages: the dark-blue title on
 * the header strip, and a white body below it.
 */
#ifndef KESTRUM_SETTINGS_WHITE_PAGE_H
#define KESTRUM_SETTINGS_WHITE_PAGE_H

#include <windows.h>

enum : COLORREF { WHITE_PAGE_TITLE_COLOUR = 0x7F0000 }; /* dark blue */

/* Draws the page's background into dc (the page's own or any other context
 * of the page's client size). */
void PaintWhitePageOn(HWND page, HDC dc, const WCHAR *title);

/* Draws the background through a context of the page obtained and released
 * here; nothing is drawn when none is obtained. */
void PaintWhitePage(HWND page, const WCHAR *title);

#endif
