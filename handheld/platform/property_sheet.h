/*
 * The handheld's property sheet: a modeless, maximised sheet of tabbed pages
 * that fills its parent window. The records keep the handheld's 40-byte
 * layout and numbers; the platform translates them for desktop Win32, where
 * some flags mean other things (0x2000 reads there as an old wizard flag).
 *
 * On the desktop the sheet becomes a child that fills its parent's client
 * area, its OK, Cancel, Apply and Help buttons are hidden and disabled,
 * Escape cannot end it, and with the handheld sheet style (version query
 * answered 524) the tabs sit at the bottom. Help (F1) reaches the current
 * page as the notification PSN_HELP (-205).
 *
 * Neither sheet gives its pages WM_ACTIVATE: a page is a child window, and
 * activation messages go to top-level windows. Whoever makes the sheet tells
 * a page that the user leaves it.
 */
#ifndef KESTRUM_PLATFORM_PROPERTY_SHEET_H
#define KESTRUM_PLATFORM_PROPERTY_SHEET_H

#include <windows.h>

struct HandheldSheetPage;
typedef UINT(CALLBACK *HandheldPageCallback)(HWND window, UINT code, HandheldSheetPage *page);
typedef int(CALLBACK *HandheldSheetCallback)(HWND sheet, UINT code, LPARAM param);

/* One page descriptor, 40 bytes on the 32-bit handheld. */
struct HandheldSheetPage {
    DWORD size;
    DWORD flags;
    HINSTANCE instance;
    const WCHAR *dialogTemplate; /* MAKEINTRESOURCE of the page's dialog */
    HICON icon;
    const WCHAR *title;
    DLGPROC dialogProc;
    LPARAM param;
    HandheldPageCallback callback;
    UINT *refParent;
};
/* The 64-bit emulation widens the pointers; the layout is fixed where pointers are 32 bits. */
static_assert(sizeof(void *) != 4 || sizeof(HandheldSheetPage) == 40, "a page descriptor is 40 bytes");

/* The sheet header, 40 bytes on the 32-bit handheld. */
struct HandheldSheetHeader {
    DWORD size;
    DWORD flags;
    HWND parent;
    HINSTANCE instance;
    HICON icon;
    const WCHAR *caption;
    UINT pageCount;
    UINT startPage;
    const HandheldSheetPage *pages;
    HandheldSheetCallback callback;
};
static_assert(sizeof(void *) != 4 || sizeof(HandheldSheetHeader) == 40, "the sheet header is 40 bytes");

/* Page flags. */
enum : DWORD { SHEET_PAGE_USE_TITLE = 0x0008, SHEET_PAGE_USE_CALLBACK = 0x0080 };
/* Header flags. */
enum : DWORD {
    SHEET_PAGE_ARRAY = 0x0008,
    SHEET_USE_CALLBACK = 0x0100,
    SHEET_MODELESS = 0x0400,
    SHEET_MAXIMIZE = 0x2000,
};
/* Page callback codes, and sheet callback codes of the handheld. */
enum : UINT { SHEET_PAGE_CREATE = 2 };
enum : UINT { SHEET_INITIALIZED = 1, SHEET_GET_VERSION = 3 };
/* The handheld's common-controls version (524): the sheet's version query
 * answers it to select the handheld sheet style, and a control told it
 * behaves as on the handheld. */
enum : int { HANDHELD_CONTROLS_VERSION = 0x20C };

/* The header flags desktop Win32 may see: the maximise flag removed. */
DWORD PlatformDesktopSheetFlags(DWORD handheldFlags);

/* The handheld's property-sheet call. A modeless sheet returns its window
 * (as an INT_PTR); a failure returns -1. */
INT_PTR PlatformCreatePropertySheet(const HandheldSheetHeader *header);

#endif
