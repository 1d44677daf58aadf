/*
 * Kestrum.exe as a program in the device: single instance, how it ends
 * ("ok" saves, a close from outside), where its windows sit on the
 * 240 x 320 screen, and the help launcher starting the viewer.
 */
#include <gtest/gtest.h>
#include <windows.h>
#include <string>

#include "device.h"
#include "settings/record/settings_record.h"
#include "shell/base/help_launcher.h"
#include "help_capture.h"
#include "kestrum_program.h"
#include "settings_store.h"

namespace {

class ProgramTest : public testing::Test {
protected:
    void SetUp() override { InstallKestrum(); }
};

} // namespace

TEST_F(ProgramTest, SecondStartReturns16AndBringsTheFirstForward)
{
    PROCESS_INFORMATION first;
    ASSERT_TRUE(StartKestrum(L"", &first));
    HWND main = WaitForMainWindow(first);
    ASSERT_TRUE(main != NULL);

    /* Something else in front first, so that coming forward is visible. */
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, NULL, NULL, NULL, NULL);
    SetForegroundWindow(other);
    ASSERT_EQ(GetForegroundWindow(), other);

    PROCESS_INFORMATION second;
    ASSERT_TRUE(StartKestrum(L"", &second));
    EXPECT_EQ(WaitForExit(second), 16u);
    /* The second instance asked for it; the X server reports the change in its own time. */
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == main; }))
        << "the first instance did not come forward; in front: " << GetForegroundWindow();
    EXPECT_TRUE(IsWindow(main)) << "the running instance is not disturbed";
    DestroyWindow(other);

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(first), 0u);
}

TEST_F(ProgramTest, WindowSitsBetweenTheNavigationBarAndTheMenuBar)
{
    PROCESS_INFORMATION process;
    ASSERT_TRUE(StartKestrum(L"", &process));
    HWND main = WaitForMainWindow(process);
    ASSERT_TRUE(main != NULL);
    RECT rect;
    GetWindowRect(main, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 26) << "below the navigation bar";
    EXPECT_EQ(rect.right, 240);
    EXPECT_EQ(rect.bottom, 320 - 26) << "shortened by the menu bar's height";
    HWND bar = FindWindowW(L"KestrumMenuBar", NULL);
    ASSERT_TRUE(bar != NULL);
    GetWindowRect(bar, &rect);
    EXPECT_EQ(rect.top, 294);
    EXPECT_EQ(rect.bottom, 320);
    EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == main; })) << "start-up activates the window";
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(process), 0u);
}

TEST_F(ProgramTest, OkWritesTheSettingsAndEndsWith0)
{
    PROCESS_INFORMATION process;
    ASSERT_TRUE(StartKestrum(L"", &process));
    HWND main = WaitForMainWindow(process);
    ASSERT_TRUE(main != NULL);
    DeleteStoredSettings();
    ASSERT_FALSE(StoredSettingsExist());
    /* What the navigation bar posts when "ok" is tapped. */
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    EXPECT_EQ(WaitForExit(process), 0u);
    EXPECT_TRUE(StoredSettingsExist());
}

TEST_F(ProgramTest, CloseFromAnotherProgramEndsWith0)
{
    PROCESS_INFORMATION process;
    ASSERT_TRUE(StartKestrum(L"", &process));
    HWND main = WaitForMainWindow(process);
    ASSERT_TRUE(main != NULL);
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(process), 0u);
    EXPECT_FALSE(IsWindow(main));
}

TEST_F(ProgramTest, HelpStartsTheViewerWithTheTopic)
{
    InstallHelpCapture();
    static const wchar_t *topics[] = {L"report", L"Main_Contents"};
    for (const wchar_t *topic : topics) {
        ArmHelpCapture();
        DWORD handlesBefore = 0, handlesAfter = 0;
        GetProcessHandleCount(GetCurrentProcess(), &handlesBefore);
        OpenHelp(topic);
        GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
        EXPECT_EQ(handlesAfter, handlesBefore) << "no process handle stays open";
        EXPECT_EQ(CapturedHelpLine(), L"\"\\Windows\\peghelp.exe\" file:Kestrum.htm#" + std::wstring(topic));
    }
    RemoveHelpCapture();
}

TEST_F(ProgramTest, AMissingHelpViewerIsSilent)
{
    DeleteFileW(L"\\Windows\\peghelp.exe");
    DWORD handlesBefore = 0, handlesAfter = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handlesBefore);
    OpenHelp(L"options");
    GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
    EXPECT_EQ(handlesAfter, handlesBefore);
}
