/*
 * Purge benchmark, run inside a device by bench/purge-bench.sh:
 *   bench_purge purge FOLDER   purge the folder, print seconds, counts and peak memory
 *   bench_purge bare FOLDER    delete every file and subfolder below FOLDER with
 *                              the plainest FindFirstFile/FindNextFile/DeleteFile
 *                              loop, each path built in the form FOLDER has
 *   bench_purge settings FOLDER  make Kestrum's settings purge only folder 1,
 *                              FOLDER, and end when the run is over
 *   bench_purge run COMMAND    run a command line to its end, print its seconds
 */
#include <windows.h>
#include <psapi.h>
#include <stdio.h>

#include "engine/cleaning_state.h"
#include "engine/folder_purge.h"
#include "settings/record/settings_record.h"

static double Seconds(void)
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return (double)now.QuadPart / (double)frequency.QuadPart;
}

static SIZE_T PeakPrivateBytes(void)
{
    PROCESS_MEMORY_COUNTERS counters;
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters)))
        return 0;
    return counters.PeakPagefileUsage;
}

static int Purge(const wchar_t *folder)
{
    ZeroStatistics();
    ComputeAgeCutoff(0);
    SIZE_T before = PeakPrivateBytes();
    double start = Seconds();
    PurgeFolder(folder);
    double elapsed = Seconds() - start;
    SIZE_T after = PeakPrivateBytes();
    printf("purge seconds %.3f files %d folders %d scanned %d failed %d peak-before %lu peak-after %lu\n",
           elapsed, g_stats.filesDeleted, g_stats.foldersDeleted, g_stats.foldersScanned,
           g_stats.filesUsedBySystem, (unsigned long)before, (unsigned long)after);
    return 0;
}

/* The bare loop: the folder's own path, a backslash and the entry's name, in
 * one buffer; subfolders first emptied, then removed. */
static void BareDelete(wchar_t *path, size_t length, int *files)
{
    WIN32_FIND_DATAW entry;
    if (length + 3 > MAX_PATH)
        return;
    wcscpy(path + length, L"\\*");
    HANDLE listing = FindFirstFileW(path, &entry);
    if (listing == INVALID_HANDLE_VALUE)
        return;
    do {
        const wchar_t *name = entry.cFileName;
        if (!wcscmp(name, L".") || !wcscmp(name, L".."))
            continue;
        size_t nameLength = wcslen(name);
        if (length + 1 + nameLength >= MAX_PATH)
            continue;
        path[length] = L'\\';
        wcscpy(path + length + 1, name);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            BareDelete(path, length + 1 + nameLength, files);
            path[length + 1 + nameLength] = 0;
            RemoveDirectoryW(path);
        } else if (DeleteFileW(path)) {
            (*files)++;
        }
    } while (FindNextFileW(listing, &entry));
    FindClose(listing);
}

static int Bare(const wchar_t *folder)
{
    wchar_t path[MAX_PATH];
    if (wcslen(folder) >= MAX_PATH)
        return 2;
    wcscpy(path, folder);
    int files = 0;
    double start = Seconds();
    BareDelete(path, wcslen(path), &files);
    printf("bare seconds %.3f files %d\n", Seconds() - start, files);
    return 0;
}

static int Settings(const wchar_t *folder)
{
    memset(&g_settings, 0, sizeof(g_settings));
    g_settings.flags = OPT_FOLDER1 | OPT_EXIT_WHEN_FINISHED;
    g_settings.ageLimitDays = 30;
    if (wcslen(folder) >= ARRAYSIZE(g_settings.folder1Path))
        return 2;
    wcscpy(g_settings.folder1Path, folder);
    SaveSettings();
    return 0;
}

static int Run(wchar_t *commandLine)
{
    STARTUPINFOW startup;
    PROCESS_INFORMATION process;
    memset(&startup, 0, sizeof(startup));
    startup.cb = sizeof(startup);
    double start = Seconds();
    if (!CreateProcessW(NULL, commandLine, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &process)) {
        printf("run failed %lu\n", GetLastError());
        return 1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    double elapsed = Seconds() - start;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    printf("run seconds %.3f\n", elapsed);
    return 0;
}

int wmain(int argc, wchar_t **argv)
{
    if (argc == 3 && !wcscmp(argv[1], L"purge"))
        return Purge(argv[2]);
    if (argc == 3 && !wcscmp(argv[1], L"bare"))
        return Bare(argv[2]);
    if (argc == 3 && !wcscmp(argv[1], L"settings"))
        return Settings(argv[2]);
    if (argc == 3 && !wcscmp(argv[1], L"run"))
        return Run(argv[2]);
    fprintf(stderr, "usage: bench_purge purge FOLDER | bare FOLDER | settings FOLDER | run COMMAND\n");
    return 2;
}
