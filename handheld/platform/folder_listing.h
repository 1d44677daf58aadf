/*
 * Folder listing as the handheld gives it: the folder's own entries only.
 * Desktop listings of a subfolder also yield "." and ".."; these are dropped
 * here so that no caller ever mistakes them for entries. Links (reparse
 * points) are hidden as well: a handheld store has none, while on the desktop
 * one may lead outside the tree being cleaned, and entering, deleting or
 * removing through it would reach whatever it points at. Close with FindClose.
 */
#ifndef KESTRUM_PLATFORM_FOLDER_LISTING_H
#define KESTRUM_PLATFORM_FOLDER_LISTING_H

#include <windows.h>

HANDLE FindFirstEntry(const WCHAR *pattern, WIN32_FIND_DATAW *entry);
BOOL FindNextEntry(HANDLE listing, WIN32_FIND_DATAW *entry);

/* Whether path names a file or folder as the listing sees the store: a link
 * is hidden there, so it does not exist here either. */
bool EntryExists(const WCHAR *path);

#endif
