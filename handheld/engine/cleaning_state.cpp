/* The cleaning state and the two readings that fill it from the platform. */
#include "engine/cleaning_state.h"
#include "settings/record/settings_record.h"

CleaningTask g_tasks[TASK_COUNT] = {
    { (WORD)OPT_STOP_PROGRAMS, NULL },
    { (WORD)OPT_WINDOWS_TEMP, NULL },
    { (WORD)OPT_FOLDER1, NULL },
    { (WORD)OPT_FOLDER2, NULL },
    { (WORD)OPT_IE_CACHE, NULL },
    { (WORD)OPT_IE_HISTORY, NULL },
    { (WORD)OPT_IE_ADDRESS_HISTORY, NULL },
    { (WORD)OPT_IE_COOKIES, NULL },
    { (WORD)OPT_DEAD_REGISTRY_KEYS, NULL },
    { (WORD)OPT_DEAD_APPMGR_FILES, NULL },
    { (WORD)OPT_DEAD_SHORTCUTS, NULL },
    { (WORD)OPT_RESERVED, NULL },
};

CleaningStatistics g_stats;
WORD g_pendingTasks;
FILETIME g_ageCutoff;

/* The free byte count of the last successful reading, reused when a query fails. */
static DWORD s_lastFreeBytes;

static const WCHAR *const s_taskNames[TASK_COUNT] = {
    L"Stop running programs",
    L"Windows Temp folder",
    L"My temporary folder 1",
    L"My temporary folder 2",
    L"IE cache",
    L"IE history folder",
    L"IE addresses history (registry)",
    L"IE cookies",
    L"Dead registry keys",
    L"Dead AppManager files",
    L"Dead shortcuts",
    L"Reserved",
};

void FillTaskTable(void)
{
    for (int i = 0; i < TASK_COUNT; i++)
        g_tasks[i].name = s_taskNames[i];
}

void ZeroStatistics(void)
{
    memset(&g_stats, 0, sizeof(g_stats));
}

double MegabytesFromFreeBytes(DWORD freeBytesLow)
{
    return (double)freeBytesLow * 9.5367431640625e-07;
}

void TakeMemoryReading(void)
{
    ULARGE_INTEGER available, total, totalFree;
    if (GetDiskFreeSpaceExW(L"\\Windows", &available, &total, &totalFree))
        s_lastFreeBytes = totalFree.LowPart;
    g_stats.memoryAvailableMB = MegabytesFromFreeBytes(s_lastFreeBytes);
}

FILETIME AgeCutoffFrom(FILETIME now, DWORD ageLimitDays)
{
    /* Days are counted as unsigned, so no typed number can move the cutoff
     * into the future; the product fits easily in 64 bits. */
    unsigned long long steps = (unsigned long long)((double)ageLimitDays * 201.1643835);
    FILETIME cutoff = now;
    if (steps > now.dwHighDateTime) {
        cutoff.dwHighDateTime = 0;
        cutoff.dwLowDateTime = 0;
    } else {
        cutoff.dwHighDateTime = now.dwHighDateTime - (DWORD)steps;
    }
    return cutoff;
}

bool IsOldEnough(const FILETIME &lastWrite, const FILETIME &cutoff)
{
    if (lastWrite.dwHighDateTime != cutoff.dwHighDateTime)
        return lastWrite.dwHighDateTime < cutoff.dwHighDateTime;
    return lastWrite.dwLowDateTime <= cutoff.dwLowDateTime;
}

void ComputeAgeCutoff(DWORD ageLimitDays)
{
    SYSTEMTIME st;
    FILETIME now;
    GetSystemTime(&st);
    SystemTimeToFileTime(&st, &now);
    g_ageCutoff = AgeCutoffFrom(now, ageLimitDays);
}

void LoadPendingTaskMask(void)
{
    g_pendingTasks = (WORD)(g_settings.flags & 0xFFFF);
}
