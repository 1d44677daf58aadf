#include "help_capture.h"

#include <gtest/gtest.h>
#include "device.h"
#include "wait_bound.h"

static HANDLE s_started;

void InstallHelpCapture(void)
{
    ASSERT_TRUE(CopyFileW(L"\\Tests\\helper_peghelp.exe", L"\\Windows\\peghelp.exe", FALSE));
    if (!s_started)
        s_started = CreateEventW(NULL, TRUE, FALSE, L"KestrumTestHelpStarted");
    ASSERT_TRUE(s_started != NULL);
    ArmHelpCapture();
}

void ArmHelpCapture(void)
{
    ResetEvent(s_started);
    DeleteFileW(L"\\Temp\\peghelp.txt");
}

std::wstring CapturedHelpLine(void)
{
    if (WaitForSingleObject(s_started, WAIT_BOUND_MS) != WAIT_OBJECT_0)
        return L"<no viewer started>";
    return FileText(L"\\Temp\\peghelp.txt", L"<no record>");
}

void RemoveHelpCapture(void)
{
    DeleteFileW(L"\\Windows\\peghelp.exe");
    if (s_started)
        CloseHandle(s_started);
    s_started = NULL;
}
