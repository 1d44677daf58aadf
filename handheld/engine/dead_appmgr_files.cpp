/*
 * Task 10, the dead application manager file sweep: each file directly in
 * "\Windows\AppMgr" is matched against the installed applications' keys,
 * read afresh from the registry for every file, so keys that task 9 just
 * deleted no longer keep their files.
 */
#include "engine/dead_entries.h"
#include "engine/cleaning_state.h"
#include "engine/folder_purge.h"
#include "platform/bounded_text.h"
#include "platform/folder_listing.h"

const WCHAR APPMGR_FOLDER[] = L"\\Windows\\AppMgr";
const WCHAR APPMGR_INSTALL_FOLDER[] = L"\\Windows\\AppMgr\\Install";

bool FileBelongsToKey(const WCHAR *fileName, const WCHAR *keyName)
{
    for (size_t i = 0; keyName[i]; i++) {
        if (fileName[i] != keyName[i])
            return false; /* also when the file name ends first */
    }
    return true;
}

static bool BelongsToInstalledApplication(HKEY applications, const WCHAR *fileName)
{
    WCHAR keyName[PATH_CHARS];
    for (DWORD index = 0;; index++) {
        DWORD length = PATH_CHARS;
        LONG result = RegEnumKeyExW(applications, index, keyName, &length, NULL, NULL, NULL, NULL);
        if (result == ERROR_MORE_DATA)
            continue; /* one unreadable name must not hide the keys after it */
        if (result != ERROR_SUCCESS)
            return false;
        if (FileBelongsToKey(fileName, keyName))
            return true;
    }
}

void SweepDeadAppMgrFiles(void)
{
    if (!EntryExists(APPMGR_FOLDER))
        return;
    HKEY applications;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, APPLICATIONS_KEY, 0, KEY_READ | KEY_WRITE, &applications) != ERROR_SUCCESS)
        return;
    g_stats.foldersScanned++;

    WCHAR path[PATH_CHARS];
    WIN32_FIND_DATAW entry;
    HANDLE listing = INVALID_HANDLE_VALUE;
    if (JoinPath(path, PATH_CHARS, APPMGR_FOLDER, L"*.*"))
        listing = FindFirstEntry(path, &entry);
    if (listing != INVALID_HANDLE_VALUE) {
        do {
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            if (BelongsToInstalledApplication(applications, entry.cFileName))
                continue;
            if (!JoinPath(path, PATH_CHARS, APPMGR_FOLDER, entry.cFileName))
                continue;
            if (DeleteFileW(path)) {
                g_stats.filesDeleted++;
                g_stats.bytesReclaimed += entry.nFileSizeLow;
            } else {
                g_stats.filesUsedBySystem++;
            }
        } while (FindNextEntry(listing, &entry));
        FindClose(listing);
    }
    RegCloseKey(applications);
}

void CleanAppManager(void)
{
    SweepDeadAppMgrFiles();
    PurgeFolder(APPMGR_INSTALL_FOLDER);
}
