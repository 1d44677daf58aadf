/* Registry text values read into fixed path buffers, always terminated. */
#include "engine/registry_text.h"
#include "common/bounded_text.h"

bool TerminateStoredText(WCHAR *text, DWORD bytesStored, size_t capacity)
{
    size_t stored = bytesStored / sizeof(WCHAR);
    if (stored > capacity)
        return false;
    for (size_t i = 0; i < stored; i++) {
        if (text[i] == 0)
            return true;
    }
    /* A value stored without its terminator, like one cut short: end it
     * where the data ends, if the buffer leaves room. */
    if (stored == capacity)
        return false;
    text[stored] = 0;
    return true;
}

bool ReadRegistryPath(HKEY root, const WCHAR *keyPath, const WCHAR *valueName, WCHAR *path)
{
    path[0] = 0;
    HKEY key;
    if (RegOpenKeyExW(root, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = REG_NONE;
    DWORD size = PATH_CHARS * sizeof(WCHAR);
    LONG result = RegQueryValueExW(key, valueName, NULL, &type, (BYTE *)path, &size);
    RegCloseKey(key);
    /* Only a text value names a folder: a number or raw bytes that happen to
     * spell a path must never lead to a key deleted or a folder purged. */
    bool text = type == REG_SZ || type == REG_EXPAND_SZ;
    if (result != ERROR_SUCCESS || !text || !TerminateStoredText(path, size, PATH_CHARS)) {
        path[0] = 0;
        return false;
    }
    return true;
}
