/*
 * What the installer and Remove Programs do on the device, after every
 * decision has been made: folders, files, registry values, shortcuts, the
 * application's key under SOFTWARE\Apps and its uninstall record.
 */
#ifndef WCELOAD_INSTALL_ACTIONS_H
#define WCELOAD_INSTALL_ACTIONS_H

#include "cab_control.h"
#include "cab_unpack.h"
#include "uninstall_record.h"

/* Installs what CONTROL describes from CONTENTS (every file's member is
 * there: the caller checked). A previous install of the same application is
 * removed first, by its record, keeping the application's key. On failure
 * everything this install made is taken away again and false is returned. */
bool InstallApplication(const CabControl *control, const CabContents *contents);

/* Takes away what RECORD lists: files and shortcuts, then the folders and
 * keys it made once they are empty, the values it wrote; with WHOLE also the
 * application's key and the record itself. False when something listed is
 * still there afterwards (a file in use). */
bool RemoveApplication(const InstallRecord *record, bool whole);

/* "SOFTWARE\Apps\<appKey>" into PATH. */
bool ApplicationKeyPath(const WCHAR *appKey, WCHAR *path, size_t capacity);

#endif
