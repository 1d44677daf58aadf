/*
 * The four-page sheet that fills the main window: page descriptors, the page
 * and sheet callbacks, switching pages, and the page that is left.
 */
#ifndef KESTRUM_SHELL_SHEET_H
#define KESTRUM_SHELL_SHEET_H

#include <windows.h>
#include "platform/property_sheet.h"

enum { SHEET_PAGE_COUNT = 4 };
enum : DWORD {
    MAIN_PAGE_FLAGS = SHEET_PAGE_USE_TITLE | SHEET_PAGE_USE_CALLBACK,          /* 0x88 */
    MAIN_SHEET_FLAGS = SHEET_PAGE_ARRAY | SHEET_USE_CALLBACK | SHEET_MODELESS
                       | SHEET_MAXIMIZE,                                       /* 0x2508 */
};

/* The records as start-up fills them; exposed so tests can read them. */
extern HandheldSheetPage g_sheetPages[SHEET_PAGE_COUNT];
extern HandheldSheetHeader g_sheetHeader;

/* Fills the four page descriptors and the header for parent; then creates
 * the modeless sheet (its window reaches g_shell.sheet through the callback). */
void FillSheetRecords(HWND parent);
void CreateMainSheet(HWND parent);

UINT CALLBACK MainPageCallback(HWND window, UINT code, HandheldSheetPage *page);
int CALLBACK MainSheetCallback(HWND sheet, UINT code, LPARAM param);

/* Tells the page in front that the user leaves it (WM_ACTIVATE with word
 * parameter 0), as the sheet does when another page is chosen; the main
 * window calls it when it is deactivated or closed. */
void LeaveCurrentPage(void);

/* Switches the sheet to the page of dialog template templateId; sent, so the
 * page is current when this returns. */
void ShowPage(int templateId);

#endif
