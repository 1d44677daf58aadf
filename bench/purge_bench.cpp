/*
 * Purge benchmark, run inside a device by bench/purge-bench.sh:
 *   bench_purge purge FOLDER   purge the folder, print seconds, counts and peak memory
 *   bench_purge run COMMAND    run a command line to its end, print its seconds
 */
#include <windows.h>
#include <psapi.h>
#include <stdio.h>

#include "engine/cleaning_state.h"
#include "engine/folder_purge.h"

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
    if (argc == 3 && !wcscmp(argv[1], L"run"))
        return Run(argv[2]);
    fprintf(stderr, "usage: bench_purge purge FOLDER | run COMMAND\n");
    return 2;
}
