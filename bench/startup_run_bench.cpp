/*
 * Start-up and cleaning-run benchmark, run on a seeded device by
 * bench/startup-run-bench.sh:
 *   bench_start start ROUNDS      time from process start to the first idle
 *                                 (painted) Kestrum, against a plain windowed
 *                                 program's start on the same Wine
 *   bench_start run               one cleaning run of every task with the real
 *                                 work, the designed pauses counted, not slept
 */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

#include "engine/cleaning_run.h"
#include "engine/cleaning_state.h"
#include "engine/cleaning_work.h"
#include "settings/record/settings_record.h"

static double Seconds(void)
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return (double)now.QuadPart / (double)frequency.QuadPart;
}

/* Starts a program and returns the seconds until it first waits for input. */
static double TimeToIdle(const wchar_t *commandLine, const wchar_t *windowClass, const wchar_t *title)
{
    wchar_t line[400];
    lstrcpynW(line, commandLine, 400);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process;
    double start = Seconds();
    if (!CreateProcessW(NULL, line, NULL, NULL, FALSE, 0, NULL, L"D:\\", &startup, &process))
        return -1;
    WaitForInputIdle(process.hProcess, 60000);
    double elapsed = Seconds() - start;
    HWND window = FindWindowW(windowClass, title);
    if (window)
        PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

static int Compare(const void *a, const void *b)
{
    double x = *(const double *)a, y = *(const double *)b;
    return x < y ? -1 : x > y;
}

static int Start(int rounds)
{
    double plain[50], kestrum[50];
    if (rounds < 1 || rounds > 50)
        rounds = 10;
    for (int i = 0; i < rounds; i++) {
        plain[i] = TimeToIdle(L"\"D:\\Tests\\demoapp.exe\" Bench Window", NULL, L"Bench Window");
        kestrum[i] = TimeToIdle(L"\"\\Program Files\\Kestrum\\Kestrum.exe\"", L"Tarnwick Kestrum", L"Kestrum");
    }
    qsort(plain, rounds, sizeof(double), Compare);
    qsort(kestrum, rounds, sizeof(double), Compare);
    printf("start-up, median of %d: plain windowed program %.1f ms, Kestrum %.1f ms, Kestrum beyond Wine's own start %.1f ms\n",
           rounds, plain[rounds / 2] * 1000, kestrum[rounds / 2] * 1000, (kestrum[rounds / 2] - plain[rounds / 2]) * 1000);
    return 0;
}

/* --- the run, with page operations that draw nothing and count the pauses --- */

static DWORD s_pausedMs;
static void Page(HWND) {}
static bool OpenLines(HWND) { return true; }
static void Line(HWND, WORD, const WCHAR *) {}
static void Progress(HWND, int) {}
static void Pause(DWORD ms) { s_pausedMs += ms; }
static void Sound(void) {}

static int Run(void)
{
    LoadSettings();
    FillTaskTable();
    g_settings.flags |= 0x07FF;
    LoadPendingTaskMask();
    const CleaningPageOps page = { Page, Page, OpenLines, Page, Line, Line, Progress, Pause, Sound };
    double start = Seconds();
    RunCleaning((HWND)1, &page, &CLEANING_WORK);
    double elapsed = Seconds() - start;
    printf("cleaning run of %d tasks: %.1f ms of work beyond %lu ms of designed pauses "
           "(files deleted %d, folders scanned %d, keys %d, shortcuts %d, programs asked to close %d)\n",
           g_stats.tasksPerformed, elapsed * 1000, s_pausedMs, g_stats.filesDeleted, g_stats.foldersScanned,
           g_stats.deadRegistryKeysDeleted, g_stats.deadShortcutsDeleted, g_stats.applicationsClosed);
    return 0;
}

int wmain(int argc, wchar_t **argv)
{
    if (argc >= 2 && !wcscmp(argv[1], L"start"))
        return Start(argc >= 3 ? _wtoi(argv[2]) : 10);
    if (argc == 2 && !wcscmp(argv[1], L"run"))
        return Run();
    fprintf(stderr, "usage: bench_start start [ROUNDS] | run\n");
    return 2;
}
