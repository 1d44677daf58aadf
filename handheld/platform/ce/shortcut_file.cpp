/*
 * Shortcut files through the shell, which keeps them in its own form.
 */
#include "platform/shortcut_file.h"
#include <shellapi.h>

bool PlatformCreateShortcutFile(const WCHAR *path, const WCHAR *target)
{
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
