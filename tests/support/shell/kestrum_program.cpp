/* Kestrum.exe installed and started in the device, and this thread's messages. */
#include "kestrum_program.h"
#include <gtest/gtest.h>
#include "device.h"
#include "wait_bound.h"

HMODULE KestrumResources(void)
{
    static HMODULE module = LoadLibraryExW(L"D:\\Tests\\helper_kestrum.exe", NULL, LOAD_LIBRARY_AS_DATAFILE);
    return module;
}

void InstallKestrum(void)
{
    MakeFolders(L"\\Program Files\\Kestrum");
    ASSERT_TRUE(CopyFileW(L"\\Tests\\helper_kestrum.exe", L"\\Program Files\\Kestrum\\Kestrum.exe", FALSE));
}

bool StartKestrum(const wchar_t *arguments, PROCESS_INFORMATION *process)
{
    WCHAR line[400];
    wsprintfW(line, L"\"\\Program Files\\Kestrum\\Kestrum.exe\" %s", arguments);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    return CreateProcessW(NULL, line, NULL, NULL, FALSE, 0, NULL, L"D:\\", &startup, process) != 0;
}

HWND WaitForMainWindow(const PROCESS_INFORMATION &process)
{
    HWND main;
    while (!(main = FindWindowW(L"Tarnwick Kestrum", L"Kestrum"))) {
        if (WaitForSingleObject(process.hProcess, 20) != WAIT_TIMEOUT)
            return NULL;
    }
    /* Answered only from the message loop, after start-up has finished. */
    DWORD_PTR answer;
    if (!SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, WAIT_BOUND_MS, &answer))
        return NULL;
    return main;
}

DWORD WaitForExit(PROCESS_INFORMATION &process)
{
    DWORD code = 0xDEAD;
    EXPECT_EQ(WaitForSingleObject(process.hProcess, WAIT_BOUND_MS), WAIT_OBJECT_0) << "the program did not end";
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}
