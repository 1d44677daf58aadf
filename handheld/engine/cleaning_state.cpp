/* The cleaning state and the two readings that fill it from the platform. */
#include "engine/cleaning_state.h"
#include "settings/record/settings_record.h"

CleaningStatistics g_stats;
WORD g_pendingTasks;
FILETIME g_ageCutoff;

/* The free byte count of the last successful reading, reused when a query fails. */
static DWORD s_lastFreeBytes;

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
