/* The age cutoff, the memory reading and the task table. */
#include <gtest/gtest.h>
#include <math.h>
#include <algorithm>
#include "device.h"
#include "engine/cleaning_state.h"
#include "settings/settings_record.h"

static FILETIME Ft(DWORD high, DWORD low)
{
    FILETIME ft;
    ft.dwHighDateTime = high;
    ft.dwLowDateTime = low;
    return ft;
}

TEST(AgeCutoff, StepsBackWholeHighHalvesAndNeverWraps)
{
    /* A moment in 2026: high half about 0x01DC.... */
    const FILETIME now = Ft(0x01DC6A00, 0x12345678);
    struct { DWORD days; DWORD high; DWORD low; } cases[] = {
        { 0, 0x01DC6A00, 0x12345678 },            /* the moment of the run itself */
        { 1, 0x01DC6A00 - 201, 0x12345678 },      /* 201.1643835 truncated to 201 */
        { 2, 0x01DC6A00 - 402, 0x12345678 },
        { 999, 0x01DC6A00 - 200963, 0x12345678 }, /* 999 x 201.1643835 = 200963.2 */
        { 0xFFFFFFFF, 0, 0 },                     /* far past 1601: cutoff 0, not the future */
        { 160000, 0, 0 },                         /* just past 1601 */
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.days);
        FILETIME cutoff = AgeCutoffFrom(now, c.days);
        EXPECT_EQ(cutoff.dwHighDateTime, c.high);
        EXPECT_EQ(cutoff.dwLowDateTime, c.low);
        EXPECT_TRUE(IsOldEnough(cutoff, now)) << "a cutoff never lies in the future";
    }
}

TEST(AgeCutoff, FileAtTheCutoffIsOldAndOneTickLaterIsNot)
{
    FILETIME cutoff = Ft(100, 500);
    EXPECT_TRUE(IsOldEnough(Ft(100, 500), cutoff));
    EXPECT_TRUE(IsOldEnough(Ft(99, 0xFFFFFFFF), cutoff));
    EXPECT_FALSE(IsOldEnough(Ft(100, 501), cutoff));
    EXPECT_FALSE(IsOldEnough(Ft(101, 0), cutoff));
    /* Compared as unsigned 64-bit numbers: a high low half is not negative. */
    EXPECT_TRUE(IsOldEnough(Ft(100, 0x80000000), Ft(100, 0x80000001)));
}

TEST(AgeCutoff, ComputedFromTheCurrentTime)
{
    FILETIME before = FileTimeFromNow(0);
    ComputeAgeCutoff(1);
    FILETIME after = FileTimeFromNow(0);
    EXPECT_GE(g_ageCutoff.dwHighDateTime, before.dwHighDateTime - 201);
    EXPECT_LE(g_ageCutoff.dwHighDateTime, after.dwHighDateTime - 201);
}

TEST(MemoryReading, UsesTheLow32BitsOfTotalFreeBytes)
{
    EXPECT_DOUBLE_EQ(MegabytesFromFreeBytes(0), 0.0);
    EXPECT_DOUBLE_EQ(MegabytesFromFreeBytes(1048576), 1.0);
    EXPECT_DOUBLE_EQ(MegabytesFromFreeBytes(0xFFFFFFFF), 4095.9999990463257);

    /* The device's store is a file system of its own, the handheld's 32 MB,
     * that nothing else writes to: a file of known size moves the reading by
     * exactly its size, and deleting it moves it back. 40960 bytes fill whole
     * blocks of the store, so no rounding enters. */
    ULARGE_INTEGER avail, total, free;
    ASSERT_TRUE(GetDiskFreeSpaceExW(L"\\Windows", &avail, &total, &free));
    EXPECT_EQ(total.QuadPart, 32ull * 1048576) << "a handheld's store";
    TakeMemoryReading();
    double before = g_stats.memoryAvailableMB;
    EXPECT_DOUBLE_EQ(before, MegabytesFromFreeBytes(free.LowPart));
    EXPECT_GT(before, 30.0);
    EXPECT_LE(before, 32.0);

    MakeFileNow(L"\\Temp\\reading.bin", 40960);
    TakeMemoryReading();
    EXPECT_EQ(before - g_stats.memoryAvailableMB, 40960.0 / 1048576) << "exactly the file's size, in megabytes";
    ASSERT_TRUE(DeleteFileW(L"\\Temp\\reading.bin"));
    TakeMemoryReading();
    EXPECT_EQ(g_stats.memoryAvailableMB, before);
}

TEST(CleaningState, TaskTableZeroingAndMask)
{
    FillTaskTable();
    const wchar_t *names[TASK_COUNT] = {
        L"Stop running programs", L"Windows Temp folder", L"My temporary folder 1",
        L"My temporary folder 2", L"IE cache", L"IE history folder",
        L"IE addresses history (registry)", L"IE cookies", L"Dead registry keys",
        L"Dead AppManager files", L"Dead shortcuts", L"Reserved",
    };
    const int boxes[TASK_COUNT] = { 1009, 1003, 1012, 1018, 1004, 1011, 1008, 1016, 1015, 1013, 1014, 1010 };
    for (int i = 0; i < TASK_COUNT; i++) {
        EXPECT_STREQ(TaskName(i + 1), names[i]);
        EXPECT_EQ(g_tasks[i].bit, 1u << i);
        EXPECT_EQ(g_tasks[i].optionsCheckboxId, boxes[i]);
    }
    EXPECT_EQ(TaskName(0), nullptr);
    EXPECT_EQ(TaskName(13), nullptr);

    memset(&g_stats, 0x33, sizeof(g_stats));
    ZeroStatistics();
    EXPECT_EQ(g_stats.filesDeleted, 0);
    EXPECT_EQ(g_stats.tasksPerformed, 0);
    EXPECT_EQ(g_stats.bytesReclaimed, 0u);
    EXPECT_EQ(g_stats.memoryAvailableMB, 0.0);

    g_settings.flags = 0xFFFFFFFF & ~0xF000u; /* the program never sets bits 12-15 */
    g_pendingTasks = 0x8000;
    LoadPendingTaskMask();
    EXPECT_EQ(g_pendingTasks, 0x0FFFu);
}
