/* Handheld-style recursive key deletion on desktop Win32. */
#include "platform/registry_tree.h"

LONG PlatformDeleteRegistryKey(HKEY root, const WCHAR *path)
{
    /* An empty path would name the root itself. */
    if (!path || !path[0])
        return ERROR_INVALID_PARAMETER;
    return RegDeleteTreeW(root, path);
}
