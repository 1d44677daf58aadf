/*
 * The running-program closer: walks the top-level windows, keeps those of
 * ordinary applications in the running-program list, then posts each one a
 * close request without waiting for it. The shell, untitled windows, this
 * program, two resident utilities and (on request) ActiveSync are left alone.
 */
#ifndef KESTRUM_CLOSER_CLOSER_H
#define KESTRUM_CLOSER_CLOSER_H

#include <windows.h>

/* Capture buffers of the per-window step, terminator included. */
enum {
    CLOSER_TITLE_CHARS = 64,
    CLOSER_CLASS_CHARS = 50
};

/* One window to be closed. The record owns its title copy. */
struct WindowRecord {
    HWND window;
    WCHAR *title;
};

/* The running-program list: records in the order the windows were enumerated.
 * Emptied and rebuilt by each CloseRunningPrograms call; between calls it
 * holds the records of the last call. */
struct RunningProgramList {
    WindowRecord **records;
    int count;
    int capacity;
};

extern RunningProgramList g_runningPrograms;

/* What the per-window step captured of one window. executablePath, title and
 * className are only read when the window is visible and its process was
 * found; the title is already cut to CLOSER_TITLE_CHARS - 1 characters. */
struct CapturedWindow {
    bool visible;
    bool processFound;
    const WCHAR *executablePath;
    const WCHAR *title;
    const WCHAR *className;
};

/* The decision of the per-window step: NULL when the window is left alone,
 * otherwise the title its record keeps (the captured title, or the fixed
 * "Calculator" for the calculator). */
const WCHAR *DecideWindow(const CapturedWindow *window);

/* Whether a recorded window is sent its close request: always, except a
 * window titled exactly "ActiveSync" while keepActiveSync is non-zero. */
bool ShouldPostClose(const WCHAR *title, DWORD keepActiveSync);

/* Frees every record with its title; the list length becomes 0. */
void EmptyRunningProgramList(void);

/* Appends a record with its own copy of title. False when memory runs out;
 * the list is then unchanged. */
bool AppendWindowRecord(HWND window, const WCHAR *title);

/* Rebuilds the list from the top-level windows, then posts WM_CLOSE to each
 * recorded window that ShouldPostClose allows. Returns the number of requests
 * posted (not of programs that exit). owner is not used by the closing. */
int CloseRunningPrograms(HWND owner, DWORD keepActiveSync);

#endif
