/* The device itself: what every other test relies on being true. */
#include <gtest/gtest.h>
#include "device.h"
#include "wait_bound.h"

TEST(Sandbox, DeviceHasOnlyItsOwnDrivesAndHandheldLayout)
{
    EXPECT_EQ(GetDriveTypeW(L"Z:\\"), (UINT)DRIVE_NO_ROOT_DIR);
    EXPECT_TRUE(PathExists(L"\\Windows\\StartUp"));
    EXPECT_TRUE(PathExists(L"\\Windows\\AppMgr\\Install"));
    EXPECT_TRUE(PathExists(L"\\Program Files"));
    WCHAR temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    EXPECT_STREQ(temp, L"D:\\Temp\\");
}

TEST(Sandbox, FileTimesRoundTripExactly)
{
    FILETIME when = FileTimeFromNow(-86400.0 * 3);
    when.dwLowDateTime |= 7; /* not a whole second */
    MakeFile(L"\\Temp\\stamp.txt", 5, when);
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExW(L"\\Temp\\stamp.txt", GetFileExInfoStandard, &data));
    EXPECT_EQ(data.ftLastWriteTime.dwLowDateTime, when.dwLowDateTime);
    EXPECT_EQ(data.ftLastWriteTime.dwHighDateTime, when.dwHighDateTime);
    EXPECT_EQ(data.nFileSizeLow, 5u);
}

/* Started anywhere but D:\ of a device, a test program runs no test at all. */
TEST(Sandbox, TestProgramsRefuseToRunAnywhereElse)
{
    WCHAR self[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(NULL, self, MAX_PATH), 0u);
    for (const wchar_t *directory : { L"C:\\", L"D:\\Temp" }) {
        WCHAR line[MAX_PATH + 64];
        wsprintfW(line, L"\"%s\" --gtest_filter=Sandbox.FileTimes*", self);
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process;
        ASSERT_TRUE(CreateProcessW(NULL, line, NULL, NULL, FALSE, 0, NULL, directory, &startup, &process));
        ASSERT_EQ(WaitForSingleObject(process.hProcess, WAIT_BOUND_MS), WAIT_OBJECT_0);
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        EXPECT_EQ(code, 2u) << "a test program started outside D:\\ must refuse";
    }
}

/* Every family the programs ask for draws in the device's own Tahoma, whatever
   fonts the host has: another face would move every control on every page. */
TEST(Sandbox, AskedFamiliesDrawInTheDevicesTahoma)
{
    HDC dc = GetDC(NULL);
    for (const wchar_t *family : { L"System", L"MS Shell Dlg", L"MS Shell Dlg 2", L"MS Sans Serif", L"Arial", L"Tahoma" }) {
        HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, family);
        HGDIOBJ old = SelectObject(dc, font);
        /* The face's own family name: the face name answers with the name asked for. */
        union { OUTLINETEXTMETRICW metrics; BYTE bytes[1024]; } outline;
        ASSERT_GT(GetOutlineTextMetricsW(dc, sizeof(outline), &outline.metrics), 0u);
        const WCHAR *name = (const WCHAR *)(outline.bytes + (UINT_PTR)outline.metrics.otmpFamilyName);
        EXPECT_STREQ(name, L"Tahoma") << "asked for " << testing::PrintToString(std::wstring(family));
        SelectObject(dc, old);
        DeleteObject(font);
    }
    ReleaseDC(NULL, dc);
}
