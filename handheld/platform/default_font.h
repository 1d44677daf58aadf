/*
 * The font a drawing context starts with. The handheld's contexts start with
 * its small system font; a desktop window's context starts with the desktop's
 * large bold "System" font, in which a page's text lines run off the screen.
 */
#ifndef KESTRUM_PLATFORM_DEFAULT_FONT_H
#define KESTRUM_PLATFORM_DEFAULT_FONT_H

#include <windows.h>

/* Selects the handheld's default font into dc for drawing on window, and
 * returns the font that was selected before, for the caller to select back. */
HGDIOBJ SelectHandheldDefaultFont(HWND window, HDC dc);

#endif
