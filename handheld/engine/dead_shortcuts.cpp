/*
 * Task 11, the dead-shortcut sweep, over the same folder walk as the purge.
 * Only shortcuts to programs under "\Program Files\" are ever judged.
 */
#include "engine/dead_entries.h"
#include "engine/cleaning_state.h"
#include "engine/counted_delete.h"
#include "engine/folder_walk.h"
#include "common/bounded_text.h"
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

/* Deletes a dead shortcut; an unreadable one stays, and other files are passed over. */
static void SweepFile(const WCHAR *path, const WIN32_FIND_DATAW &entry)
{
    if (!IsShortcutName(entry.cFileName))
        return;
    WCHAR target[PATH_CHARS];
    if (!PlatformReadShortcutTarget(path, target, PATH_CHARS))
        return;
    if (!IsDeadShortcut(target, PathExists))
        return;
    /* A shortcut that cannot be deleted is not counted anywhere. */
    if (DeleteCountedFile(path, entry.nFileSizeLow))
        g_stats.deadShortcutsDeleted++;
}

/* Folders are swept into but never removed. */
void SweepDeadShortcuts(const WCHAR *folder)
{
    static const FolderWalk sweep = { SweepFile, NULL };
    WalkFolder(folder, sweep);
}

void SweepStartMenuShortcuts(void)
{
    SweepDeadShortcuts(START_MENU_FOLDER);
}

void SweepStartUpShortcuts(HWND page)
{
    WCHAR folder[PATH_CHARS];
    if (!PlatformSpecialFolderPath(page, folder, PATH_CHARS, SPECIAL_FOLDER_STARTUP, false))
        CopyText(folder, PATH_CHARS, STARTUP_FOLDER);
    SweepDeadShortcuts(folder);
}
