/*
 * A store filled to its last byte, then a cleaning run of the platform's
 * temporary folder: the run completes on a full store, and the Report's
 * figures add up with the space that came free.
 */
#include <gtest/gtest.h>
#include <vector>
#include "device.h"
#include "quiet_page.h"
#include "engine/cleaning_run.h"
#include "engine/cleaning_state.h"
#include "engine/cleaning_work.h"
#include "settings/pages/report_lines.h"
#include "settings/record/settings_record.h"

namespace {

ULONGLONG FreeBytes()
{
    ULARGE_INTEGER avail, total, free;
    EXPECT_TRUE(GetDiskFreeSpaceExW(L"\\Windows", &avail, &total, &free));
    return free.QuadPart;
}

/* Writes into one file until the store refuses, in ever smaller pieces, so
 * that not a byte is left. */
void FillStore(const wchar_t *path)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    std::vector<char> block(1 << 20, 'f');
    for (DWORD piece = (DWORD)block.size(); piece > 0; piece /= 2) {
        DWORD wrote = 0;
        while (WriteFile(file, block.data(), piece, &wrote, NULL) && wrote == piece) {
        }
    }
    CloseHandle(file);
}

} // namespace

TEST(FullStore, ARunOnAFullStoreFreesOldFilesAndTheReportShowsTheSpace)
{
    const FILETIME old = FileTimeFromNow(-86400.0 * 60);
    const DWORD MB = 1048576;
    MakeFile(L"\\Temp\\old1.tmp", MB, old);
    MakeFile(L"\\Temp\\old2.tmp", 2 * MB, old);
    MakeFile(L"\\Temp\\sub\\old3.tmp", 512 * 1024, old);
    MakeFileNow(L"\\Temp\\new.tmp", 4096);
    FillStore(L"\\My Documents\\filler.bin");
    ASSERT_EQ(FreeBytes(), 0u) << "filled to its last byte";

    FillTaskTable();
    memset(&g_settings, 0, sizeof(g_settings));
    g_settings.flags = OPT_WINDOWS_TEMP;
    g_settings.ageLimitDays = 30;
    LoadPendingTaskMask();
    QuietPageLog log;
    RunCleaning(QuietPage(), QuietPageOps(&log), &CLEANING_WORK);

    ASSERT_EQ(log.completed, std::vector<std::wstring>{L"Windows Temp folder"}) << "the run completes";
    EXPECT_EQ(g_stats.filesDeleted, 3);
    EXPECT_EQ(g_stats.foldersDeleted, 1);
    EXPECT_EQ(g_stats.filesUsedBySystem, 0);
    EXPECT_EQ(g_stats.bytesReclaimed, 3 * MB + 512 * 1024);
    EXPECT_EQ(FreeBytes(), (ULONGLONG)g_stats.bytesReclaimed) << "what was freed is all that is free";
    EXPECT_EQ(g_stats.memoryAvailableMB, 3.5);
    EXPECT_TRUE(PathExists(L"\\Temp\\new.tmp"));

    WCHAR text[REPORT_LINE_CHARS];
    FormatReportLine(8, g_stats, text);
    EXPECT_STREQ(text, L"Total bytes reclaimed:  3670016");
    FormatReportLine(9, g_stats, text);
    EXPECT_STREQ(text, L"Memory available:\t3.50 MB");
    DeleteFileW(L"\\My Documents\\filler.bin");
}
