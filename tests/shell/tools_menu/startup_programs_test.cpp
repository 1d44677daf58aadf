/*
 * What the emulated device starts after a soft reset: how a shortcut's
 * target splits into program and arguments (and which targets would reach
 * outside the device), and the start-up folder's shortcuts started for real
 * with a stand-in program that records its command line.
 */
#include <gtest/gtest.h>
#include <windows.h>
#include <string>

#include "device.h"
#include "platform/shortcut_file.h"
#include "platform/startup_programs.h"
#include "wait_bound.h"

namespace {

struct SplitCase {
    const wchar_t *target;
    bool ok;
    const wchar_t *program;
    const wchar_t *arguments;
};

const SplitCase SPLIT_CASES[] = {
    {L"\"\\Program Files\\Kestrum\\Kestrum.exe\" S", true, L"\\Program Files\\Kestrum\\Kestrum.exe", L"S"},
    {L"\"\\Windows\\a.exe\"", true, L"\\Windows\\a.exe", L""},
    {L"\\Windows\\a.exe", true, L"\\Windows\\a.exe", L""},
    {L"\\Windows\\a.exe  -x \"two words\"", true, L"\\Windows\\a.exe", L"-x \"two words\""},
    {L"\"\\Windows\\a.exe\"S", true, L"\\Windows\\a.exe", L"S"},
    {L"pword.exe S", true, L"pword.exe", L"S"},
    /* Outside the device's store, or not a place at all. */
    {L"", false, L"", L""},
    {L"\"\"", false, L"", L""},
    {L"\"\\Windows\\a.exe S", false, L"", L""},
    {L"C:\\windows\\notepad.exe", false, L"", L""},
    {L"\"Z:\\bin\\sh\" -c x", false, L"", L""},
    {L"\\\\server\\share\\a.exe", false, L"", L""},
    {L"/usr/bin/env", false, L"", L""},
    {L"Windows\\a.exe", false, L"", L""},
    {L"\"\\Windows/a.exe\"", false, L"", L""},
};

TEST(PlatformSplitStartupTarget, SplitsDeviceTargetsAndRefusesTheRest)
{
    for (const SplitCase &c : SPLIT_CASES) {
        WCHAR program[260] = L"junk";
        WCHAR arguments[260] = L"junk";
        EXPECT_EQ(PlatformSplitStartupTarget(c.target, program, 260, arguments, 260), c.ok) << c.target;
        EXPECT_STREQ(program, c.program) << c.target;
        EXPECT_STREQ(arguments, c.arguments) << c.target;
    }
}

TEST(PlatformSplitStartupTarget, NeverWritesPastEitherBuffer)
{
    WCHAR program[8];
    WCHAR arguments[4];
    wmemset(program, L'#', 8);
    wmemset(arguments, L'#', 4);
    /* Program of 7 characters fits exactly; arguments of 4 do not. */
    EXPECT_FALSE(PlatformSplitStartupTarget(L"\\a\\b.ex abcd", program, 8, arguments, 4));
    EXPECT_STREQ(program, L"");
    EXPECT_STREQ(arguments, L"");
    EXPECT_TRUE(PlatformSplitStartupTarget(L"\\a\\b.ex abc", program, 8, arguments, 4));
    EXPECT_STREQ(program, L"\\a\\b.ex");
    EXPECT_STREQ(arguments, L"abc");
    EXPECT_FALSE(PlatformSplitStartupTarget(L"\"\\a\\bc.ex\"", program, 8, arguments, 4));
    EXPECT_STREQ(program, L"");
}

const wchar_t STARTUP[] = L"\\Windows\\StartUp";

std::wstring ReadProbe(const std::wstring &tag)
{
    return FileText(L"\\Tests\\probe-" + tag + L".txt", L"(no record)");
}

class StartupFolder : public testing::Test {
protected:
    void SetUp() override
    {
        RemoveTree(STARTUP);
        MakeFolders(STARTUP);
    }
    void TearDown() override
    {
        for (HANDLE e : events_)
            CloseHandle(e);
        RemoveTree(STARTUP);
    }
    HANDLE Expect(const std::wstring &tag)
    {
        HANDLE e = CreateEventW(NULL, TRUE, FALSE, (L"KestrumProbe-" + tag).c_str());
        events_.push_back(e);
        return e;
    }
    void Shortcut(const wchar_t *name, const wchar_t *target)
    {
        ASSERT_TRUE(PlatformCreateShortcutFile((std::wstring(STARTUP) + L"\\" + name).c_str(), target)) << name;
    }
    std::vector<HANDLE> events_;
};

} // namespace

TEST_F(StartupFolder, StartsEveryShortcutWithItsStoredCommandLine)
{
    ASSERT_TRUE(CopyFileW(L"\\Tests\\helper_probe.exe", L"\\Windows\\helper_probe.exe", FALSE));
    HANDLE quoted = Expect(L"quoted");
    HANDLE plain = Expect(L"plain");
    HANDLE bare = Expect(L"bare");
    Shortcut(L"Quoted.lnk", L"\"\\Tests\\helper_probe.exe\" S quoted");
    Shortcut(L"plain.LNK", L"\\Tests\\helper_probe.exe plain");
    Shortcut(L"bare.lnk", L"helper_probe.exe bare");
    /* Passed over: not a shortcut, not readable as one, a missing bare name,
     * a program that does not exist, a desktop drive path, a folder. The count
     * tells: only the three above start. */
    MakeTextFile(std::wstring(STARTUP) + L"\\notes.txt", "24#\\Tests\\helper_probe.exe txt");
    MakeTextFile(std::wstring(STARTUP) + L"\\broken.lnk", "99#\\Tests\\helper_probe.exe broken");
    Shortcut(L"missing.lnk", L"nowhere.exe missing");
    Shortcut(L"gone.lnk", L"\\Tests\\gone.exe gone");
    Shortcut(L"drive.lnk", L"D:\\Tests\\helper_probe.exe drive");
    MakeFolders(std::wstring(STARTUP) + L"\\folder.lnk");

    EXPECT_EQ(PlatformStartStartupShortcuts(), 3);

    HANDLE all[] = {quoted, plain, bare};
    ASSERT_EQ(WaitForMultipleObjects(3, all, TRUE, WAIT_BOUND_MS), WAIT_OBJECT_0) << "a probe did not start";
    EXPECT_EQ(ReadProbe(L"quoted"), L"\"\\Tests\\helper_probe.exe\" S quoted");
    EXPECT_EQ(ReadProbe(L"plain"), L"\"\\Tests\\helper_probe.exe\" plain");
    EXPECT_EQ(ReadProbe(L"bare"), L"\"\\Windows\\helper_probe.exe\" bare");
    DeleteFileW(L"\\Windows\\helper_probe.exe");
}

TEST_F(StartupFolder, EmptyOrMissingFolderStartsNothing)
{
    EXPECT_EQ(PlatformStartStartupShortcuts(), 0);
    RemoveTree(STARTUP);
    EXPECT_EQ(PlatformStartStartupShortcuts(), 0);
}
