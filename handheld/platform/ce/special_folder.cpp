/*
 * Special folders from the shell. It writes up to MAX_PATH characters, so a
 * smaller buffer gets the path through one of that size.
 */
#include "platform/special_folder.h"
#include "common/bounded_text.h"
#include <shellapi.h>

bool PlatformSpecialFolderPath(HWND owner, WCHAR *path, size_t capacity, int folderId, bool create)
{
    WCHAR folder[MAX_PATH];
    if (capacity)
        path[0] = 0;
    if (!SHGetSpecialFolderPath(owner, folder, folderId, create))
        return false;
    return CopyText(path, capacity, folder);
}
