/* The closer's decisions over tables of captured window facts, and the
 * running-program list's ownership of its records. */
#include <gtest/gtest.h>
#include <string>

#include "closer/closer.h"

namespace {

struct RuleCase {
    const char *why;
    bool visible;
    bool processFound;
    const WCHAR *path;
    const WCHAR *title;
    const WCHAR *className;
    const WCHAR *kept; /* NULL: the window is left alone */
};

const WCHAR TITLE_63[] = L"A window title of exactly sixty-three characters, counted: 0063";

const RuleCase RULE_CASES[] = {
    { "ordinary titled window is recorded", true, true, L"\\Windows\\notes.exe", L"Notes", L"NOTES", L"Notes" },
    { "invisible window is left alone", false, true, L"\\Windows\\notes.exe", L"Notes", L"NOTES", NULL },
    { "window without a process is left alone", true, false, L"\\Windows\\notes.exe", L"Notes", L"NOTES", NULL },
    { "unknown executable path is left alone", true, true, L"", L"Notes", L"NOTES", NULL },
    { "path without a backslash is left alone", true, true, L"notes.exe", L"Notes", L"NOTES", NULL },
    { "path that ends in a backslash leaves an empty file name", true, true, L"\\Windows\\", L"Notes", L"NOTES", L"Notes" },
    { "untitled ordinary window is left alone", true, true, L"\\Windows\\notes.exe", L"", L"NOTES", NULL },

    { "untitled calculator is recorded as Calculator", true, true, L"\\Windows\\calc.exe", L"", L"ADVCALC", L"Calculator" },
    { "calculator's own title is replaced", true, true, L"\\Program Files\\calc.exe", L"Calc 2", L"ADVCALC", L"Calculator" },
    { "calculator title replaced before the Kestrum test", true, true, L"\\Windows\\calc.exe", L"Kestrum sums", L"ADVCALC", L"Calculator" },
    { "invisible calculator is left alone", false, true, L"\\Windows\\calc.exe", L"", L"ADVCALC", NULL },
    { "calculator without a process is left alone", true, false, L"\\Windows\\calc.exe", L"", L"ADVCALC", NULL },
    { "calculator path without backslash is left alone", true, true, L"calc.exe", L"", L"ADVCALC", NULL },
    { "file name differing in case is not the calculator", true, true, L"\\Windows\\CALC.EXE", L"", L"ADVCALC", NULL },
    { "titled window of CALC.EXE is an ordinary window", true, true, L"\\Windows\\CALC.EXE", L"Sums", L"ADVCALC", L"Sums" },
    { "class differing in case is not the calculator", true, true, L"\\Windows\\calc.exe", L"", L"AdvCalc", NULL },
    { "other class of calc.exe is an ordinary window", true, true, L"\\Windows\\calc.exe", L"Tape", L"CALCTAPE", L"Tape" },
    { "calc.exe as a folder name is not the file name", true, true, L"\\calc.exe\\sums.exe", L"", L"ADVCALC", NULL },

    { "the shell is left alone", true, true, L"\\Windows\\shell32.exe", L"Desktop", L"DesktopExplorerWindow", NULL },
    { "shell file name differing in case is ordinary", true, true, L"\\Windows\\Shell32.exe", L"Desktop", L"DESKTOP", L"Desktop" },
    { "shell test is for equality, not a suffix", true, true, L"\\Windows\\myshell32.exe", L"Mine", L"MINE", L"Mine" },

    { "ActiveSync is recorded; sparing it is decided at posting", true, true, L"\\Windows\\repllog.exe", L"ActiveSync", L"SYNC", L"ActiveSync" },
    { "Gauge Deck alone is left alone", true, true, L"\\Windows\\gauge.exe", L"Gauge Deck", L"GAUGE", NULL },
    { "Gauge Deck inside a longer title", true, true, L"\\Windows\\gauge.exe", L"My Gauge Deck view", L"GAUGE", NULL },
    { "gauge deck in other letter case is ordinary", true, true, L"\\Windows\\gauge.exe", L"my gauge deck", L"GAUGE", L"my gauge deck" },
    { "Kestrum inside a longer title", true, true, L"\\Program Files\\Kestrum\\Kestrum.exe", L"About Kestrum 2.0", L"Dialog", NULL },
    { "Kestrum at the end of a title", true, true, L"\\Windows\\other.exe", L"Start Kestrum", L"OTHER", NULL },
    { "kestrum in lower case is ordinary", true, true, L"\\Windows\\other.exe", L"kestrum notes", L"OTHER", L"kestrum notes" },
    { "Lantern Strip inside a longer title", true, true, L"\\Windows\\strip.exe", L"Lantern Strip clock", L"STRIP", NULL },
    { "part of a spared name is not enough", true, true, L"\\Windows\\strip.exe", L"Lantern Stri", L"STRIP", L"Lantern Stri" },

    { "a 63-character title is kept whole", true, true, L"\\Windows\\notes.exe", TITLE_63, L"NOTES", TITLE_63 },
};

std::string Narrow(const WCHAR *text)
{
    std::string out;
    for (; text && *text; text++)
        out += (char)(*text < 128 ? *text : '?');
    return out;
}

} // namespace

TEST(WindowRules, DecisionTable)
{
    ASSERT_EQ(wcslen(TITLE_63), 63u);
    for (const RuleCase &c : RULE_CASES) {
        CapturedWindow captured = { c.visible, c.processFound, c.path, c.title, c.className };
        const WCHAR *kept = DecideWindow(&captured);
        if (c.kept == NULL) {
            EXPECT_EQ(kept, nullptr) << c.why << ": kept \"" << Narrow(kept) << "\"";
        } else {
            ASSERT_NE(kept, nullptr) << c.why;
            EXPECT_STREQ(kept, c.kept) << c.why;
        }
    }
}

TEST(WindowRules, OnlyExactActiveSyncIsSparedAndOnlyUnderTheKeepFlag)
{
    const struct {
        const WCHAR *title;
        DWORD keep;
        bool post;
    } cases[] = {
        { L"ActiveSync", 0, true },
        { L"ActiveSync", 0x40000, false },
        { L"ActiveSync", 1, false }, /* any non-zero flag keeps it */
        { L"ActiveSync Status", 0x40000, true },
        { L"My ActiveSync", 0x40000, true },
        { L"activesync", 0x40000, true },
        { L"Calculator", 0x40000, true },
        { L"Notes", 0, true },
    };
    for (const auto &c : cases)
        EXPECT_EQ(ShouldPostClose(c.title, c.keep), c.post) << Narrow(c.title) << " keep " << c.keep;
}

TEST(RunningProgramList, RecordsOwnTheirTitlesAndGrowInOrder)
{
    EmptyRunningProgramList();
    WCHAR title[CLOSER_TITLE_CHARS];
    for (int i = 0; i < 40; i++) {
        wsprintfW(title, L"Window %d", i);
        ASSERT_TRUE(AppendWindowRecord((HWND)(INT_PTR)(0x1000 + i), title));
    }
    lstrcpyW(title, L"overwritten");
    ASSERT_EQ(g_runningPrograms.count, 40);
    ASSERT_GE(g_runningPrograms.capacity, 40);
    for (int i = 0; i < 40; i++) {
        wsprintfW(title, L"Window %d", i);
        EXPECT_EQ(g_runningPrograms.records[i]->window, (HWND)(INT_PTR)(0x1000 + i));
        EXPECT_STREQ(g_runningPrograms.records[i]->title, title);
        if (i > 0) {
            EXPECT_NE(g_runningPrograms.records[i]->title, g_runningPrograms.records[i - 1]->title);
        }
    }

    EmptyRunningProgramList();
    EXPECT_EQ(g_runningPrograms.count, 0);
    ASSERT_TRUE(AppendWindowRecord((HWND)0x2000, L""));
    ASSERT_EQ(g_runningPrograms.count, 1);
    EXPECT_STREQ(g_runningPrograms.records[0]->title, L"");
    EmptyRunningProgramList();
}
