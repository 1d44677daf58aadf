/*
 * The Internet Explorer tasks: 5 "IE cache", 6 "IE history folder" and
 * 8 "IE cookies" purge the folder the user's shell-folder settings name and
 * then a fixed folder under "\Windows"; 7 "IE addresses history (registry)"
 * deletes the address history key. The run calls each step between its
 * progress steps.
 */
#ifndef KESTRUM_ENGINE_INTERNET_HISTORY_H
#define KESTRUM_ENGINE_INTERNET_HISTORY_H

#include <windows.h>

/* One row per folder task: its shell-folders value, the subfolder of the
 * guest profile used when that value cannot be read, its fixed folder. */
struct InternetFolderTask {
    int task;
    const WCHAR *shellFolderValue;
    const WCHAR *guestSubfolder;
    const WCHAR *fixedFolder;
};

/* The row of task 5, 6 or 8; NULL for any other task. */
const InternetFolderTask *InternetFolderTaskOf(int task);

/* The registered folder of a task: registered is the shell-folders value
 * when it was read, NULL when it was not. Writes into path (260 characters);
 * false (path empty) for a task without a row. */
bool RegisteredFolderTarget(int task, const WCHAR *registered, WCHAR *path);

/* Task 5, 6 or 8, first step: purge the folder the shell-folders key names,
 * or the guest profile's folder when it names none. */
void PurgeRegisteredFolder(int task);

/* Task 5, 6 or 8, second step: purge the task's fixed folder. */
void PurgeFixedFolder(int task);

/* Task 7: delete the address history key; a missing key is no failure. */
void DeleteAddressHistory(void);

extern const WCHAR SHELL_FOLDERS_KEY[];
extern const WCHAR ADDRESS_HISTORY_KEY[];

#endif
