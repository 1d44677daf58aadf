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
HGDIOBJ PlatformSelectDefaultFont(HWND window, HDC dc);

/* CreateFontIndirect as the handheld answers it: a font without a face name
 * is made in the handheld's system face, Tahoma, rather than in whatever
 * face the desktop picks for an empty name. */
HFONT PlatformCreateFont(const LOGFONTW *font);

#endif
