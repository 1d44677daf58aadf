#include "settings_store.h"

#include <gtest/gtest.h>

bool StoredSettings(SettingsRecord *record)
{
    DWORD size = sizeof(*record);
    return ReadRegistryValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, SETTINGS_VALUE, (BYTE *)record, &size) == 0
           && size == sizeof(*record);
}

bool StoredSettingsExist(void)
{
    SettingsRecord record;
    return StoredSettings(&record);
}

void StoreSettings(const SettingsRecord &record)
{
    ASSERT_EQ(WriteRegistryBytes(HKEY_LOCAL_MACHINE, SETTINGS_KEY, SETTINGS_VALUE, (const BYTE *)&record,
                                 sizeof(record)),
              0);
}

void StoreSettings(DWORD flags, DWORD ageLimitDays, const WCHAR *folder1, const WCHAR *folder2)
{
    SettingsRecord record = {};
    record.flags = flags;
    record.ageLimitDays = ageLimitDays;
    lstrcpynW(record.folder1Path, folder1, MAX_PATH);
    lstrcpynW(record.folder2Path, folder2, MAX_PATH);
    StoreSettings(record);
}

void DeleteStoredSettings(void)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, KEY_SET_VALUE, &key) == 0) {
        RegDeleteValueW(key, SETTINGS_VALUE);
        RegCloseKey(key);
    }
}
