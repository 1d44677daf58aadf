/* The platform's executable path of a process. */
#include <gtest/gtest.h>

#include "common/bounded_text.h"
#include "platform/process_path.h"
#include "device.h"
#include "helper_windows.h"

TEST(ProcessPath, OwnProcessGivesItsExecutable)
{
    WCHAR expected[PATH_CHARS];
    ASSERT_GT(GetModuleFileNameW(NULL, expected, PATH_CHARS), 0u);
    WCHAR path[PATH_CHARS];
    EXPECT_TRUE(PlatformProcessExecutablePath(GetCurrentProcessId(), path));
    EXPECT_EQ(lstrcmpiW(path, expected), 0);
}

TEST(ProcessPath, UnknownProcessGivesAnEmptyPath)
{
    /* No process has either identifier; an identifier freed by an ended
     * process could be given to a new one at any time, so none is used here. */
    const DWORD unknown[] = { 0, 0xFFFFFFF0 };
    for (DWORD id : unknown) {
        WCHAR path[PATH_CHARS];
        lstrcpyW(path, L"left over");
        EXPECT_FALSE(PlatformProcessExecutablePath(id, path)) << id;
        EXPECT_STREQ(path, L"") << id;
    }
}

TEST(ProcessPath, OtherProcessGivesItsPathInTheCaseItWasStartedWith)
{
    /* The closer tells the calculator apart by the exact case of its name. */
    MakeFolders(L"\\Temp\\path");
    ASSERT_TRUE(CopyFileW(L"\\Tests\\helper_windows.exe", L"\\Temp\\path\\Mixed Case.EXE", FALSE));
    RunningHelper helper = StartHelper(L"D:\\Temp\\path\\Mixed Case.EXE", {L"h|Idle|Idle"});
    ASSERT_FALSE(HasFailure());

    WCHAR path[PATH_CHARS];
    EXPECT_TRUE(PlatformProcessExecutablePath(helper.process.dwProcessId, path));
    EXPECT_STREQ(path, L"D:\\Temp\\path\\Mixed Case.EXE");
    EndHelper(helper);
}
