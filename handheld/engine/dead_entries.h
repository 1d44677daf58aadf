/*
 * The dead-entry sweeps: task 9 deletes the registry keys of applications
 * whose install folder under "\Program Files\" vanished, task 10 deletes the
 * application manager's files that match no installed application and then
 * purges its install folder, task 11 deletes shortcuts whose program under
 * "\Program Files\" is gone. Installed applications are the subkeys of
 * HKLM\SOFTWARE\Apps, each with a text value "InstallDir".
 */
#ifndef KESTRUM_ENGINE_DEAD_ENTRIES_H
#define KESTRUM_ENGINE_DEAD_ENTRIES_H

#include <windows.h>
#include <stddef.h>

extern const WCHAR APPLICATIONS_KEY[];   /* "SOFTWARE\\Apps" under HKLM */
extern const WCHAR APPMGR_FOLDER[];      /* "\\Windows\\AppMgr" */
extern const WCHAR APPMGR_INSTALL_FOLDER[]; /* "\\Windows\\AppMgr\\Install" */
extern const WCHAR START_MENU_FOLDER[];  /* "\\Windows\\Start Menu" */
extern const WCHAR STARTUP_FOLDER[];     /* "\\Windows\\StartUp", when the platform names none */

/* Decisions, free of platform calls. */

/* An application key is dead when its InstallDir was read, names a folder
 * under "\Program Files\" (any letter case) and that folder is gone. A key
 * whose folder lay elsewhere (a storage card) is never judged dead. */
bool IsDeadApplicationKey(bool installDirRead, const WCHAR *installDir, bool installDirExists);

/* An application manager file belongs to an installed application when its
 * name begins with the application key's full name, letter case included. */
bool FileBelongsToKey(const WCHAR *fileName, const WCHAR *keyName);

/* A shortcut file: a name longer than 4 characters ending in ".lnk", any case. */
bool IsShortcutName(const WCHAR *name);

/* The program a shortcut starts, when the sweep may judge it: the target
 * begins with a quotation mark and "\Program Files\" (any case) and has a
 * closing quotation mark; the text between the marks goes into program
 * (capacity characters). False, program empty, for any other target. */
bool ShortcutProgram(const WCHAR *target, WCHAR *program, size_t capacity);

/* A shortcut is dead when its program can be judged and programExists says
 * that program is gone. programExists is only asked about such a program. */
bool IsDeadShortcut(const WCHAR *target, bool (*programExists)(const WCHAR *path));

/* The sweeps. Each counts into the cleaning statistics and reports nothing. */

/* Task 9. Every subkey is examined once, though dead ones are deleted on the
 * way; a key counts in deadRegistryKeysDeleted only when it was deleted. */
void SweepDeadRegistryKeys(void);

/* The files directly in "\Windows\AppMgr" that belong to no installed
 * application are deleted; folders in it are passed over. */
void SweepDeadAppMgrFiles(void);

/* Task 10: the file sweep above, then the purge of "\Windows\AppMgr\Install". */
void CleanAppManager(void);

/* Recursively deletes dead shortcuts below folder; no age limit applies.
 * Folders are never removed and links to folders never entered. */
void SweepDeadShortcuts(const WCHAR *folder);

/* Task 11's two steps, which the run separates with a progress step. */
void SweepStartMenuShortcuts(void);
void SweepStartUpShortcuts(HWND page);

#endif
