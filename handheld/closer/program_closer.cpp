/*
 * CloseRunningPrograms: the thin part that captures each top-level window,
 * lets DecideWindow judge it, and posts the close requests once the whole
 * list is built, so that no window closes while the walk is still going on.
 */
#include "closer/closer.h"
#include "common/bounded_text.h"
#include "platform/process_path.h"

/* The per-window step; it never stops the enumeration. */
static BOOL CALLBACK RecordWindow(HWND window, LPARAM)
{
    WCHAR path[PATH_CHARS] = L"";
    WCHAR title[CLOSER_TITLE_CHARS] = L"";
    WCHAR className[CLOSER_CLASS_CHARS] = L"";
    CapturedWindow captured = { false, false, path, title, className };

    DWORD processId = 0;
    captured.visible = IsWindowVisible(window) != FALSE;
    if (captured.visible)
        captured.processFound = GetWindowThreadProcessId(window, &processId) != 0 && processId != 0;
    if (captured.processFound) {
        PlatformProcessExecutablePath(processId, path);
        /* The title is cut to what the buffer holds and ended after the
         * characters the platform reports copied. */
        int length = GetWindowTextW(window, title, CLOSER_TITLE_CHARS);
        if (length < 0)
            length = 0;
        if (length > CLOSER_TITLE_CHARS - 1)
            length = CLOSER_TITLE_CHARS - 1;
        title[length] = 0;
        if (GetClassNameW(window, className, CLOSER_CLASS_CHARS) == 0)
            className[0] = 0;
    }

    const WCHAR *keptTitle = DecideWindow(&captured);
    if (keptTitle != NULL)
        AppendWindowRecord(window, keptTitle); /* no memory: the window stays open */
    return TRUE;
}

int CloseRunningPrograms(HWND owner, DWORD keepActiveSync)
{
    (void)owner;
    EmptyRunningProgramList();
    EnumWindows(RecordWindow, 0);

    int requests = 0;
    for (int i = 0; i < g_runningPrograms.count; i++) {
        const WindowRecord *record = g_runningPrograms.records[i];
        if (!ShouldPostClose(record->title, keepActiveSync))
            continue;
        /* A window that went away meanwhile still counts as asked. */
        PostMessageW(record->window, WM_CLOSE, 0, 0);
        requests++;
    }
    return requests;
}
