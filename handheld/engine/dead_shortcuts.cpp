/*
 * Task 11, the dead-shortcut sweep, over one shared path buffer like the
 * folder purge: each level appends its entry names and cuts them off again.
 * Only shortcuts to programs under "\Program Files\" are ever judged.
 */
#include "engine/dead_entries.h"
#include "engine/cleaning_state.h"
#include "engine/folder_purge.h"
#include "platform/bounded_text.h"
#include "platform/folder_listing.h"
#include "platform/shortcut_file.h"
#include "platform/special_folder.h"

const WCHAR START_MENU_FOLDER[] = L"\\Windows\\Start Menu";
const WCHAR STARTUP_FOLDER[] = L"\\Windows\\StartUp";

/* A quotation mark and the program folder prefix: 16 characters. */
static const WCHAR QUOTED_PROGRAM_FILES[] = L"\"\\Program Files\\";

bool IsShortcutName(const WCHAR *name)
{
    return lstrlenW(name) > 4 && EndsWithNoCase(name, L".lnk");
}

bool ShortcutProgram(const WCHAR *target, WCHAR *program, size_t capacity)
{
    if (capacity == 0)
        return false;
    program[0] = 0;
    if (!StartsWithNoCase(target, QUOTED_PROGRAM_FILES))
        return false;
    size_t close = 1;
    while (target[close] && target[close] != L'"')
        close++;
    if (!target[close])
        return false;
    size_t length = close - 1;
    if (length >= capacity)
        return false;
    memcpy(program, target + 1, length * sizeof(WCHAR));
    program[length] = 0;
    return true;
}

bool IsDeadShortcut(const WCHAR *target, bool (*programExists)(const WCHAR *path))
{
    WCHAR program[PATH_CHARS];
    if (!ShortcutProgram(target, program, PATH_CHARS))
        return false;
    return !programExists(program);
}

static bool PathExists(const WCHAR *path)
{
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

/* Deletes the shortcut file at path when it is dead; an unreadable one stays. */
static void SweepShortcutFile(const WCHAR *path, DWORD size)
{
    WCHAR target[PATH_CHARS];
    if (!ReadShortcutTarget(path, target, PATH_CHARS))
        return;
    if (!IsDeadShortcut(target, PathExists))
        return;
    /* A shortcut that cannot be deleted is not counted anywhere. */
    if (DeleteFileW(path)) {
        g_stats.filesDeleted++;
        g_stats.deadShortcutsDeleted++;
        g_stats.bytesReclaimed += size;
    }
}

/* Sweeps the folder named by path[0..length) and counts it as scanned.
 * path holds PATH_CHARS characters; on return it is cut back to length.
 * Lengths are checked before each write, as in the folder purge: a refused
 * append would empty the shared buffer, and every path built after it
 * would then name something outside the swept tree. */
static void SweepLevel(WCHAR *path, size_t length)
{
    g_stats.foldersScanned++;

    static const WCHAR pattern[] = L"\\*.*";
    if (length + ARRAYSIZE(pattern) > PATH_CHARS)
        return;
    memcpy(path + length, pattern, sizeof(pattern));
    WIN32_FIND_DATAW entry;
    HANDLE listing = FindFirstEntry(path, &entry);
    path[length] = 0;
    if (listing == INVALID_HANDLE_VALUE)
        return;

    do {
        if (IsLinkEntry(entry.dwFileAttributes))
            continue;
        /* An entry whose full path would pass 259 characters is passed over. */
        size_t nameLength = lstrlenW(entry.cFileName);
        size_t entryLength = length + 1 + nameLength;
        if (entryLength >= PATH_CHARS)
            continue;
        path[length] = L'\\';
        memcpy(path + length + 1, entry.cFileName, (nameLength + 1) * sizeof(WCHAR));
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            SweepLevel(path, entryLength);
        else if (IsShortcutName(entry.cFileName))
            SweepShortcutFile(path, entry.nFileSizeLow);
        path[length] = 0;
    } while (FindNextEntry(listing, &entry));

    FindClose(listing);
}

void SweepDeadShortcuts(const WCHAR *folder)
{
    DWORD attributes = GetFileAttributesW(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || IsLinkEntry(attributes))
        return;
    WCHAR path[PATH_CHARS];
    if (!CopyText(path, PATH_CHARS, folder))
        return;
    SweepLevel(path, lstrlenW(path));
}

void SweepStartMenuShortcuts(void)
{
    SweepDeadShortcuts(START_MENU_FOLDER);
}

void SweepStartUpShortcuts(HWND page)
{
    WCHAR folder[PATH_CHARS];
    if (!GetSpecialFolderPath(page, folder, PATH_CHARS, SPECIAL_FOLDER_STARTUP, false))
        CopyText(folder, PATH_CHARS, STARTUP_FOLDER);
    SweepDeadShortcuts(folder);
}
