/*
 * The cleaning run: one synchronous pass over the tasks still set in the
 * pending-task mask, in table order, drawn on the Progress page as it goes.
 *
 * Everything the run does to the page and to the device goes through two
 * tables of operations: the Progress page passes its page operations (drawing
 * rules, the progress bar, pauses, the sound) and the real task work; tests
 * pass recording ones.
 */
#ifndef KESTRUM_ENGINE_CLEANING_RUN_H
#define KESTRUM_ENGINE_CLEANING_RUN_H

#include <windows.h>
#include "resources/resource.h"

/* Task lines start this far below the top of the page's client area. */
enum { ROWS_TOP = 38 };

/* Colours of the run, 0x00BBGGRR. */
enum : COLORREF {
    RUN_RED = 0x0000FF,
    RUN_BLACK = 0x000000,
    RUN_HEADER_BLUE = 0x7F0000,
};

/* What the run does to the page it draws on. */
struct CleaningPageOps {
    /* The page's controls. */
    HWND (*dialogItem)(HWND page, int id);
    void (*setBarPosition)(HWND bar, int position);
    void (*showWindow)(HWND window, bool shown);
    void (*enableWindow)(HWND window, bool enabled);

    /* Drawing straight onto the page; the two drawing rules of every page. */
    HDC (*getDC)(HWND page);
    void (*releaseDC)(HWND page, HDC dc);
    void (*clientRect)(HWND page, RECT *rect);
    void (*setTextColor)(HDC dc, COLORREF colour);
    void (*setTransparent)(HDC dc);
    void (*headerBand)(HWND page, HDC dc, COLORREF colour, const WCHAR *text);
    int (*taskLine)(HDC dc, RECT row, WORD bit, const WCHAR *text);

    void (*pause)(DWORD milliseconds);
    void (*playCompletionSound)(void);
};

/* The work of the tasks. */
struct CleaningWorkOps {
    int (*closePrograms)(HWND owner, DWORD keepActiveSync);
    void (*purgeWindowsTemp)(void);
    void (*purgeFolder)(const WCHAR *path);
    void (*purgeRegisteredFolder)(int task); /* tasks 5, 6, 8 */
    void (*purgeFixedFolder)(int task);      /* tasks 5, 6, 8 */
    void (*deleteAddressHistory)(void);
    void (*sweepDeadRegistryKeys)(void);
    void (*cleanDeadAppManagerFiles)(void);  /* the sweep, then the install folder purge */
    void (*sweepStartMenuShortcuts)(void);
    void (*sweepStartUpShortcuts)(HWND page);
};

/* Runs the cleaning with the page window; returns when the pass is over.
 * A null page does nothing. */
void RunCleaning(HWND page, const CleaningPageOps *pageOps, const CleaningWorkOps *work);

#endif
