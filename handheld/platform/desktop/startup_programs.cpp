/*
 * The start-up folder's shortcuts, started as the emulated device does after
 * a soft reset.
 */
#include "platform/startup_programs.h"
#include "common/bounded_text.h"
#include "platform/folder_listing.h"
#include "platform/process_start.h"
#include "platform/shortcut_file.h"
#include "platform/special_folder.h"

/* A path of the device's store or a bare name; never a drive, a server, a
 * path relative to some folder, or a desktop "/" path, which could reach
 * outside the store. */
static bool IsDeviceProgram(const WCHAR *program)
{
    if (program[0] == 0)
        return false;
    for (const WCHAR *p = program; *p; ++p)
        if (*p == L':' || *p == L'/')
            return false;
    if (program[0] == L'\\')
        return program[1] != L'\\';
    for (const WCHAR *p = program; *p; ++p)
        if (*p == L'\\')
            return false;
    return true;
}

/* Copies count characters of src; false when they do not fit. */
static bool CopyPart(WCHAR *dst, size_t capacity, const WCHAR *src, size_t count)
{
    if (count + 1 > capacity)
        return false;
    for (size_t i = 0; i < count; ++i)
        dst[i] = src[i];
    dst[count] = 0;
    return true;
}

bool PlatformSplitStartupTarget(const WCHAR *target, WCHAR *program, size_t programCapacity, WCHAR *arguments,
                                size_t argumentsCapacity)
{
    if (programCapacity)
        program[0] = 0;
    if (argumentsCapacity)
        arguments[0] = 0;

    const WCHAR *start = target;
    const WCHAR *end;
    const WCHAR *rest;
    if (*start == L'"') {
        ++start;
        end = start;
        while (*end && *end != L'"')
            ++end;
        if (*end != L'"')
            return false;
        rest = end + 1;
    } else {
        end = start;
        while (*end && *end != L' ')
            ++end;
        rest = end;
    }
    while (*rest == L' ')
        ++rest;

    bool ok = CopyPart(program, programCapacity, start, (size_t)(end - start)) && IsDeviceProgram(program)
              && CopyText(arguments, argumentsCapacity, rest);
    if (!ok) {
        if (programCapacity)
            program[0] = 0;
        if (argumentsCapacity)
            arguments[0] = 0;
    }
    return ok;
}

/* Starts one shortcut's target; false when it is not started. */
static bool StartShortcut(const WCHAR *shortcutPath)
{
    WCHAR target[PATH_CHARS];
    WCHAR program[PATH_CHARS];
    WCHAR arguments[PATH_CHARS];
    if (!PlatformReadShortcutTarget(shortcutPath, target, PATH_CHARS)
        || !PlatformSplitStartupTarget(target, program, PATH_CHARS, arguments, PATH_CHARS))
        return false;

    if (program[0] != L'\\') {
        /* A bare name is a program of \Windows or nothing: the desktop's own
         * search would look outside the device. */
        WCHAR inWindows[PATH_CHARS];
        if (!JoinPath(inWindows, PATH_CHARS, L"\\Windows", program))
            return false;
        DWORD attributes = GetFileAttributesW(inWindows);
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return false;
        return PlatformStartProgram(inWindows, arguments) != FALSE;
    }
    return PlatformStartProgram(program, arguments) != FALSE;
}

int PlatformStartStartupShortcuts(void)
{
    WCHAR folder[PATH_CHARS];
    WCHAR pattern[PATH_CHARS];
    if (!PlatformSpecialFolderPath(NULL, folder, PATH_CHARS, SPECIAL_FOLDER_STARTUP, false)
        || !JoinPath(pattern, PATH_CHARS, folder, L"*"))
        return 0;

    int started = 0;
    WIN32_FIND_DATAW entry;
    HANDLE listing = PlatformFindFirstEntry(pattern, &entry);
    if (listing == INVALID_HANDLE_VALUE)
        return 0;
    do {
        WCHAR path[PATH_CHARS];
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !EndsWithNoCase(entry.cFileName, L".lnk")
            || !JoinPath(path, PATH_CHARS, folder, entry.cFileName))
            continue;
        if (StartShortcut(path))
            ++started;
    } while (PlatformFindNextEntry(listing, &entry));
    FindClose(listing);
    return started;
}
