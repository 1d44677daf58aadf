/*
 * The handheld's special folders, by the platform's identifiers. Only the
 * start-up folder is known here; it lives at "\Windows\StartUp" in the
 * device's store and is never created on request.
 */
#ifndef KESTRUM_PLATFORM_SPECIAL_FOLDER_H
#define KESTRUM_PLATFORM_SPECIAL_FOLDER_H

#include <windows.h>
#include <stddef.h>

enum { SPECIAL_FOLDER_STARTUP = 7 };

/* Writes the folder's path into path (capacity characters). Fails, leaving
 * path empty, for an unknown identifier or a buffer too small. owner is the
 * window asking, as on the handheld; create is never honoured. */
bool PlatformSpecialFolderPath(HWND owner, WCHAR *path, size_t capacity, int folderId, bool create);

#endif
