/* ReadRegistryValue and WriteRegistryBytes: one key opened and closed per call. */
#include "settings/record/settings_record.h"

LONG ReadRegistryValue(HKEY root, const WCHAR *keyPath, const WCHAR *valueName, BYTE *buffer, DWORD *size)
{
    HKEY key;
    LONG result = RegOpenKeyExW(root, keyPath, 0, KEY_READ, &key);
    if (result != ERROR_SUCCESS)
        return result;
    DWORD type;
    result = RegQueryValueExW(key, valueName, NULL, &type, buffer, size);
    RegCloseKey(key);
    return result;
}

LONG WriteRegistryBytes(HKEY root, const WCHAR *keyPath, const WCHAR *valueName, const BYTE *bytes, DWORD count)
{
    HKEY key;
    LONG result = RegOpenKeyExW(root, keyPath, 0, KEY_ALL_ACCESS, &key);
    if (result != ERROR_SUCCESS) {
        HKEY created;
        DWORD disposition;
        if (RegCreateKeyExW(root, keyPath, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &created, &disposition) == ERROR_SUCCESS)
            RegCloseKey(created);
        result = RegOpenKeyExW(root, keyPath, 0, KEY_ALL_ACCESS, &key);
        if (result != ERROR_SUCCESS)
            return result;
    }
    result = RegSetValueExW(key, valueName, 0, REG_BINARY, bytes, count);
    RegCloseKey(key);
    return result;
}
