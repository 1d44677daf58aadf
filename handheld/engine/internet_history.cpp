/* The Internet Explorer cache, history, cookie and address-history tasks. */
#include "engine/internet_history.h"
#include "engine/folder_purge.h"
#include "engine/registry_text.h"
#include "common/bounded_text.h"
#include "platform/registry_tree.h"

/* Stored with its trailing backslash, as the shell keeps it. */
const WCHAR SHELL_FOLDERS_KEY[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\";
const WCHAR ADDRESS_HISTORY_KEY[] = L"Explorer\\AddressHistory";

static const WCHAR GUEST_PROFILE[] = L"\\Windows\\Profiles\\guest\\";

static const InternetFolderTask s_folderTasks[] = {
    { 5, L"Cache", L"Temporary Internet Files", L"\\Windows\\Temporary Internet Files" },
    { 6, L"History", L"History", L"\\Windows\\History" },
    { 8, L"Cookies", L"Cookies", L"\\Windows\\Cookies" },
};

const InternetFolderTask *InternetFolderTaskOf(int task)
{
    for (size_t i = 0; i < ARRAYSIZE(s_folderTasks); ++i) {
        if (s_folderTasks[i].task == task)
            return &s_folderTasks[i];
    }
    return NULL;
}

bool RegisteredFolderTarget(int task, const WCHAR *registered, WCHAR *path)
{
    path[0] = 0;
    const InternetFolderTask *row = InternetFolderTaskOf(task);
    if (!row)
        return false;
    if (registered)
        return CopyText(path, PATH_CHARS, registered);
    return CopyText(path, PATH_CHARS, GUEST_PROFILE) && AppendText(path, PATH_CHARS, row->guestSubfolder);
}

void PurgeRegisteredFolder(int task)
{
    const InternetFolderTask *row = InternetFolderTaskOf(task);
    if (!row)
        return;
    WCHAR registered[PATH_CHARS];
    bool found = ReadRegistryPath(HKEY_CURRENT_USER, SHELL_FOLDERS_KEY, row->shellFolderValue, registered);
    WCHAR path[PATH_CHARS];
    /* The path is purged as read: a trailing backslash stays. */
    if (RegisteredFolderTarget(task, found ? registered : NULL, path))
        PurgeFolder(path);
}

void PurgeFixedFolder(int task)
{
    const InternetFolderTask *row = InternetFolderTaskOf(task);
    if (row)
        PurgeFolder(row->fixedFolder);
}

void DeleteAddressHistory(void)
{
    PlatformDeleteRegistryKey(HKEY_LOCAL_MACHINE, ADDRESS_HISTORY_KEY);
}
