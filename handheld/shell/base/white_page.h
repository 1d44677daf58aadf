/*
 * The background of the Options and Settings pages and the About box: the
 * dark-blue title on the header strip, and a white body below it.
 */
#ifndef KESTRUM_SHELL_BASE_WHITE_PAGE_H
#define KESTRUM_SHELL_BASE_WHITE_PAGE_H

#include <windows.h>

/* Draws the page's background into dc (the page's own or any other context
 * of the page's client size). */
void PaintWhitePageOn(HWND page, HDC dc, const WCHAR *title);

/* Draws the background through a context of the page obtained and released
 * here; nothing is drawn when none is obtained. */
void PaintWhitePage(HWND page, const WCHAR *title);

#endif
