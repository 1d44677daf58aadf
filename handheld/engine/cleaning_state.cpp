/* The cleaning state and the two readings that fill it from the platform. */
#include "engine/cleaning_state.h"
#include "settings/record/settings_record.h"

CleaningStatistics g_stats;
WORD g_pendingTasks;
FILETIME g_ageCutoff;

/* The free byte count of the last successful reading, reused when a query fails. */
static DWORD s_lastFreeBytes;

/* A megabyte is 1,048,576 bytes; 2^-20 (9.5367431640625e-07) is exact in a double. */
static const double MEGABYTES_PER_BYTE = 1.0 / 1048576.0;

/* Steps of 2^32 x 100 ns (429.4967296 s) taken off the high half of the file
 * time per day of age. The figure every release of the program has used: it
 * counts a day as 86,399.44 s, a little short of the exact
 * 864,000,000,000 / 2^32 = 201.16567611694336 steps, and is kept so that the
 * same age limit deletes the same files as before. */
static const double CUTOFF_STEPS_PER_DAY = 201.1643835;

void ZeroStatistics(void)
{
    memset(&g_stats, 0, sizeof(g_stats));
}

double MegabytesFromFreeBytes(DWORD freeBytesLow)
{
    return (double)freeBytesLow * MEGABYTES_PER_BYTE;
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
    unsigned long long steps = (unsigned long long)((double)ageLimitDays * CUTOFF_STEPS_PER_DAY);
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
