/*
 * The handheld's software input panel (the on-screen keyboard). The desktop
 * has none, so asking for it to go down does nothing here.
 */
#ifndef KESTRUM_PLATFORM_INPUT_PANEL_H
#define KESTRUM_PLATFORM_INPUT_PANEL_H

#include <windows.h>

/* Lowers the input panel on behalf of window. */
void PlatformHideInputPanel(HWND window);

#endif
