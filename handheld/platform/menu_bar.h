/*
 * The handheld's menu bar, created from a menu bar resource. On the desktop
 * it is a bar of HANDHELD_BAR_HEIGHT (main_window_frame.h) along the bottom
 * of the screen area holding the resource's buttons; a drop-down button
 * opens its popup of the resource's menu, and the chosen command goes to the
 * parent window as WM_COMMAND.
 */
#ifndef KESTRUM_PLATFORM_MENU_BAR_H
#define KESTRUM_PLATFORM_MENU_BAR_H

#include <windows.h>
#include <stddef.h>

/* The handheld's menu bar record (32 bytes on the 32-bit handheld). */
struct MenuBarInfo {
    DWORD size;          /* sizeof(MenuBarInfo) */
    HWND parent;
    DWORD flags;
    UINT menuBarId;      /* menu bar resource (RCDATA) and its menu */
    HINSTANCE resourceInstance;
    int bitmapId;
    int bitmapImages;
    HWND menuBar;        /* out: the bar's window */
};
/* 32 bytes where pointers are 32 bits: the handheld and the 32-bit emulation. */
static_assert(sizeof(void *) != 4 || sizeof(MenuBarInfo) == 32, "the menu bar record is 32 bytes");

enum { MENU_BAR_MAX_BUTTONS = 8 };
enum : WORD { MENU_BAR_NO_IMAGE = 0xFFFE, MENU_BAR_NO_POPUP = 0xFFFF };

/* One button of a menu bar resource. */
struct MenuBarButton {
    WORD image;
    WORD command;
    WORD state;
    WORD style;
    WORD stringId;
    WORD popup;      /* index of the popup in the menu, or MENU_BAR_NO_POPUP */
};

struct MenuBarLayout {
    WORD menuId;
    int buttonCount;
    MenuBarButton buttons[MENU_BAR_MAX_BUTTONS];
};

/* Reads a menu bar resource: the menu's id, the button count, then seven
 * words per button (image, command, state, style, string, reserved, popup).
 * Returns false for data that is too short or holds too many buttons. */
bool PlatformParseMenuBarResource(const BYTE *data, size_t bytes, MenuBarLayout *layout);

/* The handheld's create-menu-bar: fills info->menuBar and returns TRUE, or
 * returns FALSE with info->menuBar null. */
BOOL PlatformCreateMenuBar(MenuBarInfo *info);

#endif
