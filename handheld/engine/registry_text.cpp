/* Registry text values read into fixed path buffers, always terminated. */
#include "engine/registry_text.h"
#include "platform/bounded_text.h"
#include "settings/settings_record.h"

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
    DWORD size = PATH_CHARS * sizeof(WCHAR);
    LONG result = ReadRegistryValue(root, keyPath, valueName, (BYTE *)path, &size);
    if (result != ERROR_SUCCESS || !TerminateStoredText(path, size, PATH_CHARS)) {
        path[0] = 0;
        return false;
    }
    return true;
}
