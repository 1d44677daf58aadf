/*
 * The running-program list: a growable array of pointers to window records,
 * kept in local memory. It lives for the whole program; each closing empties
 * it and fills it again.
 */
#include "closer/closer.h"

#include <wchar.h>

RunningProgramList g_runningPrograms;

/* Room added at a time: a handheld rarely runs more windows than this. */
enum { LIST_GROWTH = 16 };

void EmptyRunningProgramList(void)
{
    for (int i = 0; i < g_runningPrograms.count; i++) {
        LocalFree(g_runningPrograms.records[i]->title);
        LocalFree(g_runningPrograms.records[i]);
        g_runningPrograms.records[i] = NULL;
    }
    g_runningPrograms.count = 0;
}

static bool MakeRoom(void)
{
    if (g_runningPrograms.count < g_runningPrograms.capacity)
        return true;
    int capacity = g_runningPrograms.capacity + LIST_GROWTH;
    UINT bytes = (UINT)(capacity * sizeof(WindowRecord *));
    WindowRecord **records;
    if (g_runningPrograms.records == NULL)
        records = (WindowRecord **)LocalAlloc(LMEM_FIXED, bytes);
    else
        records = (WindowRecord **)LocalReAlloc(g_runningPrograms.records, bytes, LMEM_MOVEABLE);
    if (records == NULL)
        return false;
    g_runningPrograms.records = records;
    g_runningPrograms.capacity = capacity;
    return true;
}

bool AppendWindowRecord(HWND window, const WCHAR *title)
{
    if (!MakeRoom())
        return false;
    size_t length = wcslen(title);
    WindowRecord *record = (WindowRecord *)LocalAlloc(LMEM_FIXED, sizeof(WindowRecord));
    WCHAR *copy = (WCHAR *)LocalAlloc(LMEM_FIXED, (length + 1) * sizeof(WCHAR));
    if (record == NULL || copy == NULL) {
        if (record)
            LocalFree(record);
        if (copy)
            LocalFree(copy);
        return false;
    }
    memcpy(copy, title, (length + 1) * sizeof(WCHAR));
    record->window = window;
    record->title = copy;
    g_runningPrograms.records[g_runningPrograms.count++] = record;
    return true;
}
