/*
 * The folder purge: below a folder, delete every file last written at or
 * before the age cutoff and remove every subfolder left empty. The folder
 * itself stays. Counts into the cleaning statistics.
 */
#ifndef KESTRUM_ENGINE_FOLDER_PURGE_H
#define KESTRUM_ENGINE_FOLDER_PURGE_H

#include <windows.h>

/* path: an absolute folder path of at most 259 characters. */
void PurgeFolder(const WCHAR *path);

/* Task 2: the platform's temporary folder ("\\Temp" when it names none),
 * without its trailing backslash. */
void PurgeWindowsTempFolder(void);

/* The task-2 target: the temporary folder reported by the platform
 * (reported length 0 = none), written into path (260 characters). */
void WindowsTempTarget(const WCHAR *reported, DWORD reportedLength, WCHAR *path);

#endif
