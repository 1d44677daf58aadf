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

const InternetFolders CACHE_FOLDERS = {
    L"Cache", L"Temporary Internet Files", L"\\Windows\\Temporary Internet Files" };
const InternetFolders HISTORY_FOLDERS = { L"History", L"History", L"\\Windows\\History" };
const InternetFolders COOKIE_FOLDERS = { L"Cookies", L"Cookies", L"\\Windows\\Cookies" };

/* The registered folder: the shell-folders value when it was read
 * (registered not NULL), else the guest profile's folder. Writes into path
 * (260 characters); false (path empty) when it does not fit. */
static bool RegisteredFolderTarget(const InternetFolders &folders, const WCHAR *registered, WCHAR *path)
{
    if (registered)
        return CopyText(path, PATH_CHARS, registered);
    return CopyText(path, PATH_CHARS, GUEST_PROFILE) && AppendText(path, PATH_CHARS, folders.guestSubfolder);
}

void PurgeRegisteredFolder(const InternetFolders &folders)
{
    WCHAR registered[PATH_CHARS];
    bool found = ReadRegistryPath(HKEY_CURRENT_USER, SHELL_FOLDERS_KEY, folders.shellFolderValue, registered);
    WCHAR path[PATH_CHARS];
    /* The path is purged as read: a trailing backslash stays. */
    if (RegisteredFolderTarget(folders, found ? registered : NULL, path))
        PurgeFolder(path);
}

void PurgeFixedFolder(const InternetFolders &folders)
{
    PurgeFolder(folders.fixedFolder);
}

void DeleteAddressHistory(void)
{
    PlatformDeleteRegistryKey(HKEY_LOCAL_MACHINE, ADDRESS_HISTORY_KEY);
}
