/*
 * The shell's and the platform pieces' decisions, called directly: the
 * auto-start flag, the names built at start-up, the help argument, the
 * records given to the sheet and their callbacks, the desktop translations
 * (sheet flags, program path, command line, menu bar resource, tagged handles).
 */
#include <gtest/gtest.h>
#include <windows.h>
#include <string>

#include "platform/foreground.h"
#include "platform/menu_bar.h"
#include "platform/process_start.h"
#include "platform/program_path.h"
#include "platform/property_sheet.h"
#include "settings/record/settings_record.h"
#include "shell/base/help_launcher.h"
#include "shell/sheet.h"
#include "shell/base/shell_state.h"
#include "shell/startup.h"

TEST(AutoStart, CapitalSAnywhereInTheCommandLineStartsACleaning)
{
    static const struct { const wchar_t *line; bool autoStart; } cases[] = {
        {L"S", true},
        {L"xSy", true},
        {L"-quiet Start", true},
        {L"\"\\Program Files\\Kestrum\\Kestrum.exe\" S", true},
        {L"s", false},
        {L"", false},
        {L"start now", false},
        {nullptr, false},
    };
    for (auto &c : cases)
        EXPECT_EQ(HasAutoStartFlag(c.line), c.autoStart) << (c.line ? c.line : L"(null)");
}

TEST(ShellTexts, NamesAndVersionAreBuiltFromTheProductWords)
{
    BuildShellTexts();
    EXPECT_STREQ(g_shell.windowTitle, L"Kestrum");
    EXPECT_STREQ(g_shell.className, L"Tarnwick Kestrum");
    EXPECT_STREQ(g_shell.versionText, L"v2.0");
    /* The settings live under the class name's key: a mismatch would lose them. */
    EXPECT_STREQ(SETTINGS_KEY, L"SOFTWARE\\Apps\\Tarnwick Kestrum");
}

TEST(HelpArgument, TopicFollowsTheFileNameUnescaped)
{
    static const struct { const wchar_t *topic, *argument; } cases[] = {
        {L"report", L"file:Kestrum.htm#report"},
        {L"Main_Contents", L"file:Kestrum.htm#Main_Contents"},
        {L"a b#c&d", L"file:Kestrum.htm#a b#c&d"},
        {L"", L"file:Kestrum.htm#"},
    };
    for (auto &c : cases) {
        WCHAR text[HELP_ARGUMENT_CHARS];
        ASSERT_TRUE(FormatHelpArgument(text, HELP_ARGUMENT_CHARS, c.topic));
        EXPECT_STREQ(text, c.argument);
    }
}

TEST(HelpArgument, ATopicTooLongForTheBufferIsRefusedNotCut)
{
    std::wstring topic(260 - 17 - 1, L't'); /* exactly fills 259 characters */
    WCHAR text[HELP_ARGUMENT_CHARS];
    EXPECT_TRUE(FormatHelpArgument(text, HELP_ARGUMENT_CHARS, topic.c_str()));
    EXPECT_EQ(lstrlenW(text), 259);
    topic += L"x";
    EXPECT_FALSE(FormatHelpArgument(text, HELP_ARGUMENT_CHARS, topic.c_str()));
    EXPECT_STREQ(text, L"");
}

/* The numbers only the handheld's own sheet reads; the desktop sheet shows
 * the titles, the order and the pages (main_window_test, the page tests). */
TEST(SheetRecords, TheHandheldSheetGetsItsSizesAndFlags)
{
    HWND parent = (HWND)0x1234;
    FillSheetRecords(parent);
    for (int i = 0; i < SHEET_PAGE_COUNT; ++i) {
        EXPECT_EQ(g_sheetPages[i].size, sizeof(HandheldSheetPage)) << i;
        EXPECT_EQ(g_sheetPages[i].flags, 0x88u) << "own title and the page callback, page " << i;
    }
    EXPECT_EQ(g_sheetHeader.size, sizeof(HandheldSheetHeader));
    EXPECT_EQ(g_sheetHeader.flags, 0x2508u) << "page array, callback, modeless, maximised";
    EXPECT_EQ(g_sheetHeader.parent, parent);
    EXPECT_EQ(g_sheetHeader.pageCount, 4u);
    EXPECT_EQ(g_sheetHeader.startPage, 0u);
}

TEST(SheetCallbacks, PagesAreAlwaysCreatedAndTheVersionQueryGets524)
{
    for (UINT code = 0; code < 6; ++code)
        EXPECT_EQ(MainPageCallback(NULL, code, &g_sheetPages[0]), code == 2 ? 1u : (UINT)-1) << code;

    g_shell.sheet = NULL;
    HWND sheet = (HWND)0x5678;
    EXPECT_EQ(MainSheetCallback(sheet, 1, 0), 0);
    EXPECT_EQ(g_shell.sheet, sheet);
    EXPECT_EQ(MainSheetCallback(NULL, 3, 0), 524);
    EXPECT_EQ(MainSheetCallback(NULL, 2, 0), 0);
    EXPECT_EQ(MainSheetCallback(NULL, 4, 0), 0);
    EXPECT_EQ(g_shell.sheet, sheet); /* only the initialisation stores the window */
}

TEST(SheetFlags, TheMaximiseFlagNeverReachesTheDesktop)
{
    /* Desktop comctl32 reads 0x2000 as an old wizard flag. */
    EXPECT_EQ(PlatformDesktopSheetFlags(0x2508), 0x0508u);
    EXPECT_EQ(PlatformDesktopSheetFlags(0x0508), 0x0508u);
}

TEST(ProgramPath, TheDriveLetterIsDropped)
{
    static const struct { const wchar_t *desktop, *handheld; } cases[] = {
        {L"D:\\Program Files\\Kestrum\\Kestrum.exe", L"\\Program Files\\Kestrum\\Kestrum.exe"},
        {L"c:\\x.exe", L"\\x.exe"},
        {L"\\Windows\\a.exe", L"\\Windows\\a.exe"},
        {L"relative.exe", L"relative.exe"},
    };
    for (auto &c : cases) {
        WCHAR path[260];
        ASSERT_TRUE(PlatformHandheldPathFromDesktopPath(path, 260, c.desktop));
        EXPECT_STREQ(path, c.handheld);
    }
    WCHAR tiny[5];
    EXPECT_FALSE(PlatformHandheldPathFromDesktopPath(tiny, 5, L"D:\\Windows"));
    EXPECT_STREQ(tiny, L"");
}

TEST(ProgramPath, OwnExecutableAsTheHandheldNamesIt)
{
    WCHAR path[260];
    ASSERT_GT(PlatformProgramPath(path, 260), 0u);
    EXPECT_STREQ(path, L"\\Tests\\shell.exe");
    WCHAR small[8];
    EXPECT_EQ(PlatformProgramPath(small, 8), 0u);
    EXPECT_STREQ(small, L"");
}

TEST(CommandLine, ProgramIsQuotedAndArgumentsFollow)
{
    WCHAR line[64];
    ASSERT_TRUE(PlatformBuildCommandLine(line, 64, L"\\Windows\\peghelp.exe", L"file:Kestrum.htm#report"));
    EXPECT_STREQ(line, L"\"\\Windows\\peghelp.exe\" file:Kestrum.htm#report");
    ASSERT_TRUE(PlatformBuildCommandLine(line, 64, L"a.exe", L""));
    EXPECT_STREQ(line, L"\"a.exe\"");
    EXPECT_FALSE(PlatformBuildCommandLine(line, 10, L"peghelp.exe", L"x"));
    EXPECT_STREQ(line, L"");
}

TEST(MenuBarResource, ButtonsAreReadSevenWordsEach)
{
    const WORD good[] = {102, 2, 0xFFFE, 40018, 4, 0x18, 40020, 0, 0, 3, 500, 4, 0, 40021, 0, 0xFFFF};
    MenuBarLayout layout;
    ASSERT_TRUE(PlatformParseMenuBarResource((const BYTE *)good, sizeof(good), &layout));
    EXPECT_EQ(layout.menuId, 102);
    ASSERT_EQ(layout.buttonCount, 2);
    EXPECT_EQ(layout.buttons[1].image, 3);
    EXPECT_EQ(layout.buttons[1].command, 500);
    EXPECT_EQ(layout.buttons[1].style, 0);
    EXPECT_EQ(layout.buttons[1].stringId, 40021);
    EXPECT_EQ(layout.buttons[1].popup, MENU_BAR_NO_POPUP);

    /* A count that promises more buttons than the data holds is refused, not read past. */
    EXPECT_FALSE(PlatformParseMenuBarResource((const BYTE *)good, sizeof(good) - 2, &layout));
    const WORD many[] = {102, 200};
    EXPECT_FALSE(PlatformParseMenuBarResource((const BYTE *)many, sizeof(many), &layout));
    EXPECT_FALSE(PlatformParseMenuBarResource((const BYTE *)good, 3, &layout));
}

TEST(TaggedHandle, TheTagAsksForOwnedWindowsAndIsRemovedBeforeWin32SeesIt)
{
    HWND window = (HWND)0x10230;
    bool tagged = false;
    HWND tag = PlatformTagForOwnedWindows(window);
    EXPECT_EQ((ULONG_PTR)tag & 1, 1u);
    EXPECT_EQ(PlatformUntaggedWindow(tag, &tagged), window);
    EXPECT_TRUE(tagged);
    EXPECT_EQ(PlatformUntaggedWindow(window, &tagged), window);
    EXPECT_FALSE(tagged);
}
