/*
 * Deleting a registry key with everything below it. The handheld's
 * RegDeleteKey removes a whole subtree; the desktop's refuses a key that
 * still has subkeys, so the platform layer supplies the handheld meaning.
 */
#ifndef KESTRUM_PLATFORM_REGISTRY_TREE_H
#define KESTRUM_PLATFORM_REGISTRY_TREE_H

#include <windows.h>

/* Returns the platform's result code: 0 when the key is gone. */
LONG PlatformDeleteRegistryKey(HKEY root, const WCHAR *path);

#endif
