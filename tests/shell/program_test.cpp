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
#include "shell_test_support.h"

namespace {

bool StoredSettingsExist()
{
    BYTE record[sizeof(SettingsRecord)];
    DWORD size = sizeof(record);
    return ReadRegistryValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, SETTINGS_VALUE, record, &size) == 0
           && size == sizeof(record);
}

void DeleteStoredSettings()
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, KEY_SET_VALUE, &key) == 0) {
        RegDeleteValueW(key, SETTINGS_VALUE);
        RegCloseKey(key);
    }
}

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
    EXPECT_EQ(GetForegroundWindow(), main);
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
    EXPECT_EQ(GetForegroundWindow(), main) << "start-up activates the window";
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
    ASSERT_TRUE(CopyFileW(L"\\Tests\\helper_peghelp.exe", L"\\Windows\\peghelp.exe", FALSE));
    HANDLE started = CreateEventW(NULL, TRUE, FALSE, L"KestrumTestHelpStarted");
    static const wchar_t *topics[] = {L"report", L"Main_Contents"};
    for (const wchar_t *topic : topics) {
        ResetEvent(started);
        DeleteFileW(L"\\Temp\\peghelp.txt");
        DWORD handlesBefore = 0, handlesAfter = 0;
        GetProcessHandleCount(GetCurrentProcess(), &handlesBefore);
        OpenHelp(topic);
        GetProcessHandleCount(GetCurrentProcess(), &handlesAfter);
        EXPECT_EQ(handlesAfter, handlesBefore) << "no process handle stays open";
        ASSERT_EQ(WaitForSingleObject(started, 60000), WAIT_OBJECT_0) << "the viewer did not start";

        HANDLE file = CreateFileW(L"\\Temp\\peghelp.txt", GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        WCHAR line[300] = {};
        DWORD read = 0;
        ReadFile(file, line, sizeof(line) - sizeof(WCHAR), &read, NULL);
        CloseHandle(file);
        EXPECT_EQ(std::wstring(line), L"\"\\Windows\\peghelp.exe\" file:Kestrum.htm#" + std::wstring(topic));
    }
    CloseHandle(started);
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
