/* The start-up folder at its fixed place in the device's store. */
#include "platform/special_folder.h"
#include "common/bounded_text.h"

bool PlatformSpecialFolderPath(HWND owner, WCHAR *path, size_t capacity, int folderId, bool create)
{
    (void)owner;
    (void)create;
    if (capacity)
        path[0] = 0;
    if (folderId != SPECIAL_FOLDER_STARTUP)
        return false;
    return CopyText(path, capacity, L"\\Windows\\StartUp");
}
