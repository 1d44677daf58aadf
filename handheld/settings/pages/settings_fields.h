/*
 * What the Settings page makes of its fields: the days text, and the target
 * text of the start-up shortcut.
 */
#ifndef KESTRUM_SETTINGS_PAGES_SETTINGS_FIELDS_H
#define KESTRUM_SETTINGS_PAGES_SETTINGS_FIELDS_H

#include <windows.h>

/* At most this many characters of the days field are read. */
enum { DAYS_TEXT_CHARS = 9 };

/* The new age limit from the typed text: an empty text or one that does not
 * begin with a number keeps current; otherwise the number as typed, above
 * 999 included (conversion as "%u"). */
DWORD AgeLimitFromText(const WCHAR *text, DWORD current);

/* "\"%s\" S" with the program's path, into target (260 characters).
 * Returns false, with target empty, when it would not fit. */
bool StartUpShortcutTarget(const WCHAR *programPath, WCHAR *target);

#endif
