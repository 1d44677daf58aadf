/*
 * Loading and saving the settings record, with the first-run defaults and
 * the one-time migration of an earlier version's value.
 */
#include "settings/record/settings_record.h"
#include "common/bounded_text.h"
#include "platform/registry_tree.h"

SettingsRecord g_settings;

const WCHAR SETTINGS_KEY[] = L"SOFTWARE\\Apps\\Tarnwick Kestrum";
const WCHAR SETTINGS_VALUE[] = L"Settings";
const WCHAR OLD_SETTINGS_KEY[] = L"SOFTWARE\\Tarnwick\\Kestrum";

/* A path written from outside may fill its field without a terminator. The
 * field keeps its bytes, so that a save stores what was loaded; readers take
 * a terminated copy of at most 259 characters instead. */
void FolderPathText(const WCHAR *field, WCHAR *text)
{
    size_t length = BoundedLength(field, PATH_CHARS - 1);
    memcpy(text, field, length * sizeof(WCHAR));
    text[length] = 0;
}

static void MigrateOldSettings(void)
{
    BYTE old[OLD_SETTINGS_BYTES];
    DWORD size = sizeof(old);
    memset(old, 0, sizeof(old));
    if (ReadRegistryValue(HKEY_LOCAL_MACHINE, OLD_SETTINGS_KEY, SETTINGS_VALUE, old, &size) != ERROR_SUCCESS)
        return;

    memcpy(&g_settings.ageLimitDays, old + OLD_AGE_OFFSET, sizeof(DWORD));
    /* The old path field is 260 units from offset 16, read as any path field is. */
    FolderPathText((const WCHAR *)(old + OLD_PATH_OFFSET), g_settings.folder1Path);

    PlatformDeleteRegistryKey(HKEY_LOCAL_MACHINE, OLD_SETTINGS_KEY);
}

void LoadSettings(void)
{
    memset(&g_settings, 0, sizeof(g_settings));
    DWORD size = sizeof(g_settings);
    LONG result = ReadRegistryValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, SETTINGS_VALUE, (BYTE *)&g_settings, &size);
    if (result != ERROR_FILE_NOT_FOUND) {
        /* A value that could not be read (too long, say) leaves the record all zero,
         * whatever the failed query may have left in the buffer. */
        if (result != ERROR_SUCCESS)
            memset(&g_settings, 0, sizeof(g_settings));
        return;
    }

    g_settings.flags = DEFAULT_FLAGS;
    CopyText(g_settings.folder1Path, PATH_CHARS, L"\\My Documents\\Temp");
    CopyText(g_settings.folder2Path, PATH_CHARS, L"\\My Documents\\Temp1");
    MigrateOldSettings();
    SaveSettings();
}

void SaveSettings(void)
{
    WriteRegistryBytes(HKEY_LOCAL_MACHINE, SETTINGS_KEY, SETTINGS_VALUE, (const BYTE *)&g_settings, sizeof(g_settings));
}
