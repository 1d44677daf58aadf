/*
 * The Internet Explorer tasks: "IE cache", "IE history folder" and
 * "IE cookies" purge the folder the user's shell-folder settings name and
 * then a fixed folder under "\Windows"; "IE addresses history (registry)"
 * deletes the address history key. The run calls each step between its
 * progress steps.
 */
#ifndef KESTRUM_ENGINE_INTERNET_HISTORY_H
#define KESTRUM_ENGINE_INTERNET_HISTORY_H

#include <windows.h>

/* The folders of one folder task: its shell-folders value, the subfolder of
 * the guest profile used when that value cannot be read, its fixed folder. */
struct InternetFolders {
    const WCHAR *shellFolderValue;
    const WCHAR *guestSubfolder;
    const WCHAR *fixedFolder;
};

extern const InternetFolders CACHE_FOLDERS;
extern const InternetFolders HISTORY_FOLDERS;
extern const InternetFolders COOKIE_FOLDERS;

/* First step: purge the folder the shell-folders key names, or the guest
 * profile's folder when it names none. */
void PurgeRegisteredFolder(const InternetFolders &folders);

/* Second step: purge the fixed folder. */
void PurgeFixedFolder(const InternetFolders &folders);

/* Delete the address history key; a missing key is no failure. */
void DeleteAddressHistory(void);

extern const WCHAR SHELL_FOLDERS_KEY[];
extern const WCHAR ADDRESS_HISTORY_KEY[];

#endif
