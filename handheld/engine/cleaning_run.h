/*
 * The cleaning run: one synchronous pass over the tasks still set in the
 * pending-task mask, in table order, reported on a page as it goes.
 *
 * Everything the run does to the page and to the device goes through two
 * tables of operations: the Progress page passes its page operations (lines,
 * the progress bar, pauses, the sound) and the real task work; tests pass
 * recording ones.
 */
#ifndef KESTRUM_ENGINE_CLEANING_RUN_H
#define KESTRUM_ENGINE_CLEANING_RUN_H

#include <windows.h>

struct InternetFolders;

/* What the run does to the page it reports on. The page owns its controls,
 * rows, colours and headings; the run says only what happens. */
struct CleaningPageOps {
    /* The run begins and ends; the page is busy in between, whether or
     * not the task lines could be drawn. */
    void (*runStarting)(HWND page);
    void (*runOver)(HWND page);

    /* The task lines: opened as a pass starts (false: nothing can be
     * drawn, and no task runs), closed when it is over. */
    bool (*openLines)(HWND page);
    void (*closeLines)(HWND page);

    /* The line of a task while it works, then once it is done; a done line
     * moves the next task's line below it. */
    void (*taskWorking)(HWND page, WORD bit, const WCHAR *text);
    void (*taskDone)(HWND page, WORD bit, const WCHAR *text);
    void (*setProgress)(HWND page, int position); /* 0..100 */

    void (*pause)(DWORD milliseconds);
    void (*playCompletionSound)(void);
};

/* The work of the tasks. */
struct CleaningWorkOps {
    int (*closePrograms)(HWND owner, DWORD keepActiveSync);
    void (*purgeWindowsTemp)(void);
    void (*purgeFolder)(const WCHAR *path);
    void (*purgeRegisteredFolder)(const InternetFolders &folders);
    void (*purgeFixedFolder)(const InternetFolders &folders);
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
