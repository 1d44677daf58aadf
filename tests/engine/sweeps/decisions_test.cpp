/* The sweeps' decisions on their own inputs: what a shortcut file says, which
 * shortcut, key or application manager file is dead, which folder a task purges. */
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "device.h"
#include "engine/dead_entries.h"
#include "platform/shortcut_file.h"
#include "platform/special_folder.h"

TEST(ShortcutText, ParsesOnlyTheStatedFormWithItsExactLength)
{
    struct Case {
        std::string bytes;
        bool ok;
        size_t start, length;
    } cases[] = {
        { "16#\"\\Windows\\a.exe\"", true, 3, 16 },
        { "3#abc\r\n", true, 2, 3 },              /* editor's line end tolerated */
        { "3#abc\n", true, 2, 3 },
        { "0#", true, 2, 0 },
        { "3#abc\r", false, 0, 0 },
        { "3#abc\r\n\r\n", false, 0, 0 },
        { "3#ab", false, 0, 0 },                  /* truncated */
        { "3#abcd", false, 0, 0 },                /* more than stated */
        { "#abc", false, 0, 0 },
        { "abc", false, 0, 0 },
        { "", false, 0, 0 },
        { "3", false, 0, 0 },
        { "3abc", false, 0, 0 },
        { " 3#abc", false, 0, 0 },
        { "-3#abc", false, 0, 0 },
        { "0003#abc", false, 0, 0 },              /* four digits */
        { std::string("3#a\0c", 5), false, 0, 0 },
        { "3#a\nc", false, 0, 0 },
        { "259#" + std::string(259, 'x'), true, 4, 259 },
        { "260#" + std::string(260, 'x'), false, 0, 0 },
        { "999#" + std::string(999, 'x'), false, 0, 0 },
    };
    for (const Case &c : cases) {
        size_t start = 99, length = 99;
        bool ok = PlatformParseShortcutText(c.bytes.data(), c.bytes.size(), &start, &length);
        EXPECT_EQ(ok, c.ok) << c.bytes.substr(0, 40);
        if (ok && c.ok) {
            EXPECT_EQ(start, c.start) << c.bytes.substr(0, 40);
            EXPECT_EQ(length, c.length) << c.bytes.substr(0, 40);
        }
    }
}

TEST(ShortcutText, NeverReadsPastTheGivenBytes)
{
    /* The stated length runs beyond the count given; the bytes after it
     * would complete the shortcut if the parser looked past count. */
    const char bytes[] = "5#abcde";
    size_t start, length;
    EXPECT_FALSE(PlatformParseShortcutText(bytes, 5, &start, &length));
    EXPECT_FALSE(PlatformParseShortcutText(bytes, 1, &start, &length));
    EXPECT_FALSE(PlatformParseShortcutText(bytes, 0, &start, &length));
    EXPECT_TRUE(PlatformParseShortcutText(bytes, 7, &start, &length));
}

TEST(ShortcutNames, OnlyLongerThanFourCharactersEndingInLnk)
{
    struct Case {
        const WCHAR *name;
        bool shortcut;
    } cases[] = {
        { L"a.lnk", true }, { L"A.LNK", true }, { L"Word.Lnk", true },
        { L".lnk", false }, { L"a.lnk.txt", false }, { L"alnk", false },
        { L"a.ln", false }, { L"lnk", false }, { L"", false },
    };
    for (const Case &c : cases)
        EXPECT_EQ(IsShortcutName(c.name), c.shortcut) << (const wchar_t *)c.name;
}

TEST(ShortcutTargets, ProgramIsJudgedOnlyWhenQuotedUnderProgramFiles)
{
    struct Case {
        const WCHAR *target;
        const WCHAR *program; /* NULL: never judged */
    } cases[] = {
        { L"\"\\Program Files\\A\\a.exe\"", L"\\Program Files\\A\\a.exe" },
        { L"\"\\PROGRAM FILES\\A\\a.exe\" -x \"y\"", L"\\PROGRAM FILES\\A\\a.exe" },
        { L"\"\\program files\\Kestrum\\Kestrum.exe\" S", L"\\program files\\Kestrum\\Kestrum.exe" },
        { L"\"\\Program Files\\\"", L"\\Program Files\\" },
        { L"\\Program Files\\A\\a.exe", NULL },     /* unquoted */
        { L"\"\\Windows\\a.exe\"", NULL },          /* elsewhere */
        { L"\"\\Program Files\\A\\a.exe", NULL },   /* no closing mark */
        { L"\"\\Program Files", NULL },
        { L"\"\\Program FilesX\\a.exe\"", NULL },
        { L" \"\\Program Files\\a.exe\"", NULL },
        { L"\"\"", NULL },
        { L"", NULL },
    };
    for (const Case &c : cases) {
        WCHAR program[260];
        bool judged = ShortcutProgram(c.target, program, 260);
        EXPECT_EQ(judged, c.program != NULL) << (const wchar_t *)c.target;
        EXPECT_STREQ(program, judged && c.program ? c.program : L"") << (const wchar_t *)c.target;
    }
}

static std::vector<std::wstring> s_asked;
static bool s_exists;
static bool RecordExists(const WCHAR *path)
{
    s_asked.push_back(path);
    return s_exists;
}

TEST(ShortcutTargets, DeadOnlyWhenTheJudgedProgramIsGone)
{
    s_asked.clear();
    s_exists = false;
    EXPECT_TRUE(IsDeadShortcut(L"\"\\Program Files\\Gone\\g.exe\" -x", RecordExists));
    ASSERT_EQ(s_asked.size(), 1u);
    EXPECT_EQ(s_asked[0], L"\\Program Files\\Gone\\g.exe"); /* arguments play no part */

    s_exists = true;
    EXPECT_FALSE(IsDeadShortcut(L"\"\\Program Files\\Here\\h.exe\"", RecordExists));

    /* Targets never judged are never looked up, so a vanished program there stays. */
    s_asked.clear();
    s_exists = false;
    EXPECT_FALSE(IsDeadShortcut(L"\\Program Files\\Gone\\g.exe", RecordExists));
    EXPECT_FALSE(IsDeadShortcut(L"\"\\Windows\\gone.exe\"", RecordExists));
    EXPECT_TRUE(s_asked.empty());
}

TEST(ApplicationKeys, DeadOnlyWhenAReadFolderUnderProgramFilesIsGone)
{
    struct Case {
        bool read;
        const WCHAR *installDir;
        bool exists;
        bool dead;
    } cases[] = {
        { true, L"\\Program Files\\Gone", false, true },
        { true, L"\\program files\\gone", false, true },     /* prefix ignores case */
        { true, L"\\Program Files\\Here", true, false },
        { true, L"\\Storage Card\\Program Files\\Gone", false, false },
        { true, L"\\Program Files", false, false },          /* prefix includes the backslash */
        { true, L"Program Files\\Gone", false, false },
        { true, L"", false, false },
        { false, L"", false, false },                        /* unreadable InstallDir */
    };
    for (const Case &c : cases)
        EXPECT_EQ(IsDeadApplicationKey(c.read, c.installDir, c.exists), c.dead) << (const wchar_t *)c.installDir;
}

TEST(AppMgrFiles, BelongWhenTheNameBeginsWithTheWholeKeyNameInItsCase)
{
    struct Case {
        const WCHAR *file, *key;
        bool belongs;
    } cases[] = {
        { L"App One", L"App One", true },
        { L"App One.dat", L"App One", true },
        { L"App Onex.arp", L"App One", true },
        { L"APP ONE.dat", L"App One", false },
        { L"app one", L"App One", false },
        { L"App On", L"App One", false },
        { L"", L"App One", false },
        { L"Other.dat", L"App One", false },
    };
    for (const Case &c : cases)
        EXPECT_EQ(FileBelongsToKey(c.file, c.key), c.belongs) << (const wchar_t *)c.file;
}

TEST(SpecialFolder, StartUpIsKnownAndNeverCreated)
{
    RemoveTree(L"\\Windows\\StartUp");
    ASSERT_FALSE(PathExists(L"\\Windows\\StartUp"));
    WCHAR path[260];
    EXPECT_TRUE(PlatformSpecialFolderPath(NULL, path, 260, SPECIAL_FOLDER_STARTUP, true));
    EXPECT_STREQ(path, L"\\Windows\\StartUp");
    EXPECT_EQ(GetFileAttributesW(L"\\Windows\\StartUp"), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(CreateDirectoryW(L"\\Windows\\StartUp", NULL));

    EXPECT_FALSE(PlatformSpecialFolderPath(NULL, path, 260, 2, false));
    EXPECT_STREQ(path, L"");
    WCHAR small[8] = L"zzzzzzz";
    EXPECT_FALSE(PlatformSpecialFolderPath(NULL, small, 5, SPECIAL_FOLDER_STARTUP, false));
    EXPECT_EQ(small[5], L'z'); /* nothing written past the given capacity */
}
