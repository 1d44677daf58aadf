/* Report line texts and the Settings page's field decisions. */
#include <gtest/gtest.h>
#include "settings/pages/report_lines.h"
#include "settings/pages/settings_fields.h"

TEST(ReportLines, FormatsEveryLineWithItsTabsAndSigns)
{
    CleaningStatistics s;
    s.tasksPerformed = 11;
    s.applicationsClosed = 3;
    s.deadRegistryKeysDeleted = 2;
    s.deadShortcutsDeleted = 4;
    s.foldersScanned = 25;
    s.foldersDeleted = 6;
    s.filesDeleted = 120;
    s.filesUsedBySystem = 1;
    s.bytesReclaimed = 0x80000000u;
    s.memoryAvailableMB = 12.345;
    const wchar_t *expected[REPORT_LINE_COUNT] = {
        L"Tasks performed:\t\t11",
        L"Applications closed:\t\t3",
        L"Dead registry keys deleted:\t2",
        L"Dead shortcuts deleted:\t4",
        L"Folders scanned:\t\t25",
        L"Temporary folders deleted:\t6",
        L"Temporary files deleted:\t120",
        L"Files used by system:\t\t1",
        L"Total bytes reclaimed:  -2147483648",
        L"Memory available:\t12.35 MB",
    };
    for (int i = 0; i < REPORT_LINE_COUNT; i++) {
        WCHAR text[REPORT_LINE_CHARS];
        FormatReportLine(i, s, text);
        EXPECT_STREQ(text, expected[i]) << "line " << i + 1;
    }
    s.bytesReclaimed = 4294967295u;
    s.memoryAvailableMB = 0;
    WCHAR text[REPORT_LINE_CHARS];
    FormatReportLine(8, s, text);
    EXPECT_STREQ(text, L"Total bytes reclaimed:  -1");
    FormatReportLine(9, s, text);
    EXPECT_STREQ(text, L"Memory available:\t0.00 MB");
    s.memoryAvailableMB = 4095.9999990463257; /* the largest reading */
    FormatReportLine(9, s, text);
    EXPECT_STREQ(text, L"Memory available:\t4096.00 MB");
}

TEST(SettingsFields, DaysTextKeepsOrReplacesTheAge)
{
    struct { const wchar_t *text; DWORD current; DWORD result; } cases[] = {
        { L"", 14, 14 },
        { L"abc", 14, 14 },
        { L"0", 14, 0 },
        { L"1234", 14, 1234 },           /* above the arrows' 999: stored as typed */
        { L"999", 0, 999 },
        { L"12abc", 5, 12 },
        { L" 7", 5, 7 },                 /* %u skips leading blanks */
        { L"4294967295", 5, 429496729 }, /* only nine characters are read */
        { L"123456789", 5, 123456789 },
        { L"+8", 5, 8 },
        { L"-5", 5, 4294967291u },      /* as "%u" reads it: a huge age deletes nothing */
        { L"-", 5, 5 },
        { L"\t\n 3", 5, 3 },
    };
    for (const auto &c : cases)
        EXPECT_EQ(AgeLimitFromText(c.text, c.current), c.result) << c.text;
}

TEST(SettingsFields, ShortcutTargetQuotesThePathAndAddsS)
{
    WCHAR target[260];
    ASSERT_TRUE(StartUpShortcutTarget(L"\\Program Files\\Kestrum\\Kestrum.exe", target));
    EXPECT_STREQ(target, L"\"\\Program Files\\Kestrum\\Kestrum.exe\" S");

    std::wstring longest(255, L'p'); /* 255 + quotes, blank and S = 259 */
    ASSERT_TRUE(StartUpShortcutTarget(longest.c_str(), target));
    EXPECT_EQ(wcslen(target), 259u);
    std::wstring tooLong(256, L'p');
    EXPECT_FALSE(StartUpShortcutTarget(tooLong.c_str(), target));
    EXPECT_STREQ(target, L"");
}
