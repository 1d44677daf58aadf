/*
 * The stored settings record (the "Settings" value under SETTINGS_KEY, 1048
 * bytes) as tests lay it out and read it back.
 */
#ifndef KESTRUM_TESTS_SETTINGS_STORE_H
#define KESTRUM_TESTS_SETTINGS_STORE_H

#include "settings/record/settings_record.h"

/* The stored record; false when absent or not 1048 bytes. */
bool StoredSettings(SettingsRecord *record);
bool StoredSettingsExist(void);
/* Stores the whole record (the test fails if it cannot). */
void StoreSettings(const SettingsRecord &record);
/* Stores a record of these flags, age limit and purge folders, zero elsewhere. */
void StoreSettings(DWORD flags, DWORD ageLimitDays, const WCHAR *folder1 = L"", const WCHAR *folder2 = L"");
void DeleteStoredSettings(void);

#endif
