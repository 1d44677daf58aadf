/*
 * Deleting one file found by a cleaning task, with the statistics every task
 * keeps of it.
 */
#ifndef KESTRUM_ENGINE_COUNTED_DELETE_H
#define KESTRUM_ENGINE_COUNTED_DELETE_H

#include <windows.h>

/* Deletes path; a file that goes counts as deleted with its size in bytes.
 * Returns whether it went: the caller counts a failure as it sees fit. */
bool DeleteCountedFile(const WCHAR *path, DWORD bytes);

#endif
