/*
 * The settings record: every choice the user makes, kept as one 1048-byte
 * REG_BINARY value "Settings" under HKLM\SOFTWARE\Apps\Tarnwick Kestrum.
 * Its byte layout is a stored format: fields, offsets and sizes never change.
 */
#ifndef KESTRUM_SETTINGS_RECORD_SETTINGS_RECORD_H
#define KESTRUM_SETTINGS_RECORD_SETTINGS_RECORD_H

#include <windows.h>
#include <stddef.h>

/* Bits of flags. The low 16 select the cleaning tasks, in task-table order. */
enum : DWORD {
    OPT_STOP_PROGRAMS = 0x1,
    OPT_WINDOWS_TEMP = 0x2,
    OPT_FOLDER1 = 0x4,
    OPT_FOLDER2 = 0x8,
    OPT_IE_CACHE = 0x10,
    OPT_IE_HISTORY = 0x20,
    OPT_IE_ADDRESS_HISTORY = 0x40,
    OPT_IE_COOKIES = 0x80,
    OPT_DEAD_REGISTRY_KEYS = 0x100,
    OPT_DEAD_APPMGR_FILES = 0x200,
    OPT_DEAD_SHORTCUTS = 0x400,
    OPT_RESERVED = 0x800,
    OPT_EXIT_WHEN_FINISHED = 0x10000,
    OPT_RUN_AT_SOFT_RESET = 0x20000,
    OPT_KEEP_ACTIVESYNC = 0x40000,
    OPT_SOUND_ON = 0x80000,
};

enum : DWORD { DEFAULT_FLAGS = 0xC07F7 };

struct SettingsRecord {
    DWORD flags;
    DWORD ageLimitDays;
    WCHAR folder1Path[260];
    WCHAR folder2Path[260];
};

static_assert(sizeof(SettingsRecord) == 1048, "the stored value is 1048 bytes");
static_assert(offsetof(SettingsRecord, flags) == 0, "flags at 0");
static_assert(offsetof(SettingsRecord, ageLimitDays) == 4, "ageLimitDays at 4");
static_assert(offsetof(SettingsRecord, folder1Path) == 8, "folder1Path at 8");
static_assert(offsetof(SettingsRecord, folder2Path) == 528, "folder2Path at 528");

/* The one record of the program, owned here for the whole run. */
extern SettingsRecord g_settings;

/* Where the record lives, and where an earlier version kept its 536-byte one. */
extern const WCHAR SETTINGS_KEY[];       /* "SOFTWARE\\Apps\\Tarnwick Kestrum" */
extern const WCHAR SETTINGS_VALUE[];     /* "Settings" */
extern const WCHAR OLD_SETTINGS_KEY[];   /* "SOFTWARE\\Tarnwick\\Kestrum" */

enum { OLD_SETTINGS_BYTES = 536, OLD_AGE_OFFSET = 12, OLD_PATH_OFFSET = 16 };

/* A path field (260 units, terminator not guaranteed) as a terminated text of
 * at most 259 characters in text (260 characters). Every reader of a path
 * field goes through this; the field itself is never changed. */
void FolderPathText(const WCHAR *field, WCHAR *text);

/* Fills g_settings from the registry. The first run (no stored value) takes
 * the defaults, migrates an earlier version's value once, and saves. */
void LoadSettings(void);

/* Writes all 1048 bytes of g_settings; a failure is silent and leaves the
 * earlier stored value in place. */
void SaveSettings(void);

/* Open, query, close. Returns the platform's result code (0 = success);
 * *size is the capacity in bytes on entry and the bytes stored on return. */
LONG ReadRegistryValue(HKEY root, const WCHAR *keyPath, const WCHAR *valueName, BYTE *buffer, DWORD *size);

/* Open (or create) the key and store the bytes as REG_BINARY. Returns the
 * platform's result code (0 = success). */
LONG WriteRegistryBytes(HKEY root, const WCHAR *keyPath, const WCHAR *valueName, const BYTE *bytes, DWORD count);

#endif
