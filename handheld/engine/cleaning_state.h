/*
 * The cleaning state shared by the shell, the pages, the run and the report:
 * the task table (task_table.h), the statistics, the pending-task mask and
 * the age cutoff.
 * Each exists once and is touched only on the user-interface thread.
 */
#ifndef KESTRUM_ENGINE_CLEANING_STATE_H
#define KESTRUM_ENGINE_CLEANING_STATE_H

#include <windows.h>
#include "engine/task_table.h"

struct CleaningStatistics {
    int filesDeleted;
    int filesUsedBySystem;
    int applicationsClosed;
    int foldersScanned;
    int foldersDeleted;
    int deadShortcutsDeleted;
    int deadRegistryKeysDeleted;
    int tasksPerformed;
    DWORD bytesReclaimed; /* wraps modulo 2^32; printed signed */
    double memoryAvailableMB;
};

extern CleaningStatistics g_stats;

/* Bits 0-11: tasks still to do in this run; bit 15: a run has started. */
extern WORD g_pendingTasks;
enum : WORD { PENDING_RUN_STARTED = 0x8000 };

/* Files last written at or before this moment are old enough to delete. */
extern FILETIME g_ageCutoff;

void ZeroStatistics(void);
void TakeMemoryReading(void);
void ComputeAgeCutoff(DWORD ageLimitDays);
void LoadPendingTaskMask(void);

/* Decisions, free of platform calls. */
double MegabytesFromFreeBytes(DWORD freeBytesLow);
/* now minus about ageLimitDays days, in whole steps of 2^32 x 100 ns; never
 * before 1601 (cutoff 0) and never in the future. */
FILETIME AgeCutoffFrom(FILETIME now, DWORD ageLimitDays);
bool IsOldEnough(const FILETIME &lastWrite, const FILETIME &cutoff);

#endif
