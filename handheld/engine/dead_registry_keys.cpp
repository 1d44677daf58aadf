/*
 * Task 9, the dead registry key sweep. Subkeys are listed by index on the
 * open application list; after a key is deleted its successor moves down to
 * the same index, so the index only advances past keys that stay.
 */
#include "engine/dead_entries.h"
#include "engine/cleaning_state.h"
#include "engine/registry_text.h"
#include "common/bounded_text.h"
#include "platform/registry_tree.h"

const WCHAR APPLICATIONS_KEY[] = L"SOFTWARE\\Apps";

static const WCHAR PROGRAM_FILES_PREFIX[] = L"\\Program Files\\";

bool IsDeadApplicationKey(bool installDirRead, const WCHAR *installDir, bool installDirExists)
{
    if (!installDirRead || installDirExists)
        return false;
    return StartsWithNoCase(installDir, PROGRAM_FILES_PREFIX);
}

/* Judges one application key and deletes it when dead; true when deleted. */
static bool DeleteIfDead(const WCHAR *name)
{
    WCHAR keyPath[PATH_CHARS];
    if (!JoinPath(keyPath, PATH_CHARS, APPLICATIONS_KEY, name))
        return false; /* a name too long to address is kept */
    WCHAR installDir[PATH_CHARS];
    bool read = ReadRegistryPath(HKEY_LOCAL_MACHINE, keyPath, L"InstallDir", installDir);
    bool exists = read && GetFileAttributesW(installDir) != INVALID_FILE_ATTRIBUTES;
    if (!IsDeadApplicationKey(read, installDir, exists))
        return false;
    return PlatformDeleteRegistryKey(HKEY_LOCAL_MACHINE, keyPath) == ERROR_SUCCESS;
}

void SweepDeadRegistryKeys(void)
{
    HKEY applications;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, APPLICATIONS_KEY, 0, KEY_READ | KEY_WRITE, &applications) != ERROR_SUCCESS)
        return;

    WCHAR name[PATH_CHARS];
    WCHAR lastDeleted[PATH_CHARS];
    lastDeleted[0] = 0;
    DWORD index = 0;
    for (;;) {
        DWORD length = PATH_CHARS;
        LONG result = RegEnumKeyExW(applications, index, name, &length, NULL, NULL, NULL, NULL);
        if (result == ERROR_MORE_DATA) {
            index++; /* a name longer than any path can hold: kept */
            continue;
        }
        if (result != ERROR_SUCCESS)
            break;
        /* A deleted key still listed at its index would be met forever. */
        if (lastDeleted[0] && lstrcmpW(name, lastDeleted) == 0) {
            index++;
            continue;
        }
        if (DeleteIfDead(name)) {
            g_stats.deadRegistryKeysDeleted++;
            CopyText(lastDeleted, PATH_CHARS, name);
        } else {
            index++;
        }
    }
    RegCloseKey(applications);
}
