/*
 * Folder listing as the handheld gives it: the folder's own entries only.
 * Desktop listings of a subfolder also yield "." and ".."; these are dropped
 * here so that no caller ever mistakes them for entries. Close with FindClose.
 */
#ifndef KESTRUM_PLATFORM_FOLDER_LISTING_H
#define KESTRUM_PLATFORM_FOLDER_LISTING_H

#include <windows.h>

HANDLE FindFirstEntry(const WCHAR *pattern, WIN32_FIND_DATAW *entry);
BOOL FindNextEntry(HANDLE listing, WIN32_FIND_DATAW *entry);

#endif
