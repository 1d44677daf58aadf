/*
 * The installer's acts. Each thing made goes into the uninstall record at
 * once, so that a failure half-way can be undone by the same removal that
 * Remove Programs uses.
 */
#include "install_actions.h"

#include "platform/shortcut_file.h"

static InstallRecord g_record;     /* what this install has made so far */
static InstallRecord g_previous;   /* the install it replaces */

static HKEY RootKey(unsigned root)
{
    switch (root) {
    case CAB_ROOT_CLASSES: return HKEY_CLASSES_ROOT;
    case CAB_ROOT_CURRENT_USER: return HKEY_CURRENT_USER;
    case CAB_ROOT_USERS: return HKEY_USERS;
    default: return HKEY_LOCAL_MACHINE;
    }
}

bool ApplicationKeyPath(const WCHAR *appKey, WCHAR *path, size_t capacity)
{
    static const WCHAR APPS[] = L"SOFTWARE\\Apps\\";
    size_t a = (size_t)lstrlenW(APPS), k = (size_t)lstrlenW(appKey);
    if (a + k >= capacity)
        return false;
    lstrcpyW(path, APPS);
    lstrcpyW(path + a, appKey);
    return true;
}

/* Steps *END on to the next backslash of PATH (N characters, below
   CAB_PATH_MAX) or to its end, and copies PATH up to there into PARTIAL;
   false once the whole path has been given. */
static bool NextPrefix(const WCHAR *path, size_t n, size_t *end, WCHAR *partial)
{
    if (*end >= n)
        return false;
    size_t i = *end + 1;
    while (i < n && path[i] != L'\\')
        i++;
    CopyMemory(partial, path, i * sizeof(WCHAR));
    partial[i] = 0;
    *end = i;
    return true;
}

/* Makes every missing folder of PATH (a device path), recording each. */
static bool EnsureFolder(const WCHAR *path)
{
    WCHAR partial[CAB_PATH_MAX];
    size_t n = (size_t)lstrlenW(path);
    if (n == 0 || n >= CAB_PATH_MAX)
        return false;
    for (size_t i = 0; NextPrefix(path, n, &i, partial);) {
        DWORD attributes = GetFileAttributesW(partial);
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
                return false;
            continue;
        }
        if (!CreateDirectoryW(partial, NULL) || !AddRecordItem(&g_record, RECORD_FOLDER, 0, partial, NULL))
            return false;
    }
    return true;
}

static bool FolderOf(const WCHAR *path, WCHAR *folder)
{
    int n = lstrlenW(path);
    while (n > 0 && path[n - 1] != L'\\')
        n--;
    if (n <= 1)
        return false;
    CopyMemory(folder, path, (size_t)(n - 1) * sizeof(WCHAR));
    folder[n - 1] = 0;
    return true;
}

/* Writes a file whole, over whatever was there. */
static bool PutFile(const WCHAR *path, const CabMember *member)
{
    WCHAR folder[CAB_PATH_MAX];
    if (!FolderOf(path, folder) || !EnsureFolder(folder))
        return false;
    DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesW(path, attributes & ~FILE_ATTRIBUTE_READONLY);
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    /* Recorded before the bytes go in, so a half-written file is removed too. */
    bool ok = AddRecordItem(&g_record, RECORD_FILE, 0, path, NULL);
    DWORD written = 0;
    if (ok && member->size > 0)
        ok = WriteFile(file, member->data, (DWORD)member->size, &written, NULL) && written == member->size;
    CloseHandle(file);
    return ok;
}

/* Opens ROOT\PATH, making each missing key on the way and recording it. */
static bool EnsureKey(unsigned root, const WCHAR *path, HKEY *key)
{
    WCHAR partial[CAB_PATH_MAX];
    size_t n = (size_t)lstrlenW(path);
    if (n == 0 || n >= CAB_PATH_MAX)
        return false;
    for (size_t i = 0; NextPrefix(path, n, &i, partial);) {
        HKEY made;
        DWORD disposition = 0;
        if (RegCreateKeyExW(RootKey(root), partial, 0, NULL, 0, KEY_READ | KEY_WRITE, NULL, &made, &disposition)
            != ERROR_SUCCESS)
            return false;
        if (disposition == REG_CREATED_NEW_KEY && !AddRecordItem(&g_record, RECORD_KEY, root, partial, NULL)) {
            RegCloseKey(made);
            return false;
        }
        if (i < n)
            RegCloseKey(made);
        else
            *key = made;
    }
    return true;
}

static bool PutValue(const CabValue *value)
{
    HKEY key = NULL;
    if (!EnsureKey(value->root, value->key, &key))
        return false;
    bool ok = true;
    if (value->noClobber && RegQueryValueExW(key, value->name, NULL, NULL, NULL, NULL) == ERROR_SUCCESS) {
        RegCloseKey(key);
        return true; /* kept as it was, and not the install's to remove */
    }
    ok = ok && RegSetValueExW(key, value->name, 0, value->type, value->data, value->size) == ERROR_SUCCESS
        && AddRecordItem(&g_record, RECORD_VALUE, value->root, value->key, value->name);
    RegCloseKey(key);
    return ok;
}

/* A shortcut as the device's shell writes one: the target in quotation marks. */
static bool PutShortcut(const CabLink *link)
{
    WCHAR folder[CAB_PATH_MAX], quoted[CAB_PATH_MAX + 2];
    int n = lstrlenW(link->target);
    if (!FolderOf(link->path, folder) || !EnsureFolder(folder) || n + 3 > (int)(sizeof(quoted) / sizeof(quoted[0])))
        return false;
    quoted[0] = L'"';
    lstrcpyW(quoted + 1, link->target);
    quoted[n + 1] = L'"';
    quoted[n + 2] = 0;
    return PlatformCreateShortcutFile(link->path, quoted) && AddRecordItem(&g_record, RECORD_SHORTCUT, 0, link->path, NULL);
}

/* SOFTWARE\Apps\<provider> <application>: InstallDir and Instl = 1. Other
 * values there (the application's own settings) are left as they are. */
static bool RegisterApplication(const CabControl *control, bool *created)
{
    WCHAR path[CAB_PATH_MAX];
    HKEY key;
    DWORD disposition = 0, installed = 1;
    if (!ApplicationKeyPath(control->appKey, path, CAB_PATH_MAX)
        || RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, NULL, 0, KEY_WRITE, NULL, &key, &disposition) != ERROR_SUCCESS)
        return false;
    *created = disposition == REG_CREATED_NEW_KEY;
    bool ok = RegSetValueExW(key, L"InstallDir", 0, REG_SZ, (const BYTE *)control->installDir,
                             (DWORD)((lstrlenW(control->installDir) + 1) * sizeof(WCHAR))) == ERROR_SUCCESS
        && RegSetValueExW(key, L"Instl", 0, REG_DWORD, (const BYTE *)&installed, sizeof(installed)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

bool InstallApplication(const CabControl *control, const CabContents *contents)
{
    if (ReadRecordFile(control->appKey, &g_previous))
        RemoveApplication(&g_previous, false);

    ZeroMemory(&g_record, sizeof(g_record));
    lstrcpyW(g_record.appKey, control->appKey);
    bool ok = EnsureFolder(control->installDir);
    for (size_t i = 0; ok && i < control->fileCount; i++)
        ok = PutFile(control->files[i].path, &contents->members[control->files[i].number]);
    for (size_t i = 0; ok && i < control->valueCount; i++)
        ok = PutValue(&control->values[i]);
    for (size_t i = 0; ok && i < control->linkCount; i++)
        ok = PutShortcut(&control->links[i]);
    ok = ok && EnsureFolder(L"\\Windows\\AppMgr") && WriteRecordFile(&g_record);
    bool created = false;
    if (ok && RegisterApplication(control, &created))
        return true;
    /* Undo: the record, and the key when this install made it. */
    RemoveApplication(&g_record, created);
    WCHAR recordPath[CAB_PATH_MAX];
    if (RecordPath(control->appKey, recordPath, CAB_PATH_MAX))
        DeleteFileW(recordPath);
    return false;
}

/* --- removal ------------------------------------------------------------------ */

static bool KeyIsEmpty(HKEY root, const WCHAR *path)
{
    HKEY key;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD subkeys = 1, values = 1;
    LONG r = RegQueryInfoKeyW(key, NULL, NULL, NULL, &subkeys, NULL, NULL, &values, NULL, NULL, NULL, NULL);
    RegCloseKey(key);
    return r == ERROR_SUCCESS && subkeys == 0 && values == 0;
}

bool RemoveApplication(const InstallRecord *record, bool whole)
{
    bool complete = true;
    for (size_t i = 0; i < record->count; i++) {
        const RecordItem *item = &record->items[i];
        if (item->kind == RECORD_FILE || item->kind == RECORD_SHORTCUT) {
            DWORD attributes = GetFileAttributesW(item->path);
            if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
                continue;
            if (attributes & FILE_ATTRIBUTE_READONLY)
                SetFileAttributesW(item->path, attributes & ~FILE_ATTRIBUTE_READONLY);
            if (!DeleteFileW(item->path))
                complete = false;
        } else if (item->kind == RECORD_VALUE) {
            HKEY key;
            if (RegOpenKeyExW(RootKey(item->root), item->path, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
                RegDeleteValueW(key, item->name);
                RegCloseKey(key);
            }
        }
    }
    /* Folders and keys last made first: inner ones before outer ones. */
    for (size_t i = record->count; i-- > 0;) {
        const RecordItem *item = &record->items[i];
        if (item->kind == RECORD_FOLDER)
            RemoveDirectoryW(item->path); /* only when emptied: a folder with the user's files stays */
        else if (item->kind == RECORD_KEY && KeyIsEmpty(RootKey(item->root), item->path))
            RegDeleteKeyW(RootKey(item->root), item->path);
    }
    /* Something still in use keeps the key and the record, for another try. */
    if (whole && complete) {
        WCHAR path[CAB_PATH_MAX];
        if (ApplicationKeyPath(record->appKey, path, CAB_PATH_MAX)) {
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, path);
            RegDeleteKeyW(HKEY_LOCAL_MACHINE, path);
        }
        if (RecordPath(record->appKey, path, CAB_PATH_MAX))
            DeleteFileW(path);
    }
    return complete;
}
