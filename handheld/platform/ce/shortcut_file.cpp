/*
 * Shortcut files through the shell, which keeps them in its own form. The
 * shell's writer fails when the file already exists and takes a target of
 * at most SHELL_SHORTCUT_TARGET_MAX characters, so a shortcut is replaced by
 * deleting the old file first, and only once the target is known to suit.
 */
#include "platform/shortcut_file.h"
#include <shellapi.h>

/* What the contract refuses on every build, and what the shell cannot take. */
static bool TargetSuits(const WCHAR *target)
{
    int length = lstrlenW(target);
    if (length == 0 || length > SHELL_SHORTCUT_TARGET_MAX)
        return false;
    for (int i = 0; i < length; i++) {
        if (target[i] == L'\r' || target[i] == L'\n')
            return false;
    }
    return true;
}

bool PlatformCreateShortcutFile(const WCHAR *path, const WCHAR *target)
{
    if (!TargetSuits(target))
        return false;
    /* An old file that cannot go would make the shell's writer fail. */
    if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES && !DeleteFileW(path))
        return false;
    return SHCreateShortcut((WCHAR *)path, (WCHAR *)target) != FALSE;
}

bool PlatformReadShortcutTarget(const WCHAR *path, WCHAR *target, size_t capacity)
{
    if (capacity == 0)
        return false;
    if (SHGetShortcutTarget(path, target, (int)capacity))
        return true;
    target[0] = 0;
    return false;
}
