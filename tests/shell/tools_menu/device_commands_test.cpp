/*
 * The Tools menu's device commands given to Kestrum.exe installed in the
 * device, as a user's choice in the menu reaches it (WM_COMMAND to the main
 * window). Kestrum runs in a job, so every process it starts is seen: the
 * job reports each new process before the exit of the one that started it,
 * which tells without any timing what a soft reset started.
 */
#include <gtest/gtest.h>
#include <windows.h>
#include <winternl.h>
#include <string>
#include <vector>

#include "device.h"
#include "platform/shortcut_file.h"
#include "resources/resource.h"
#include "settings/record/settings_record.h"
#include "kestrum_program.h"
#include "settings_store.h"
#include "wait_bound.h"

namespace {

const wchar_t KESTRUM_SHORTCUT[] = L"\\Windows\\StartUp\\Kestrum.lnk";
const wchar_t KESTRUM_TARGET[] = L"\"\\Program Files\\Kestrum\\Kestrum.exe\" S";

/* Kestrum started inside a job whose events arrive on a completion port. */
struct JobRun {
    HANDLE job = NULL;
    HANDLE port = NULL;
    PROCESS_INFORMATION first = {};
    DWORD firstId = 0;
};

bool StartInJob(const wchar_t *arguments, JobRun *run)
{
    run->job = CreateJobObjectW(NULL, NULL);
    run->port = CreateIoCompletionPort(INVALID_HANDLE_VALUE, NULL, 0, 1);
    JOBOBJECT_ASSOCIATE_COMPLETION_PORT link = {run->job, run->port};
    if (!run->job || !run->port
        || !SetInformationJobObject(run->job, JobObjectAssociateCompletionPortInformation, &link, sizeof(link)))
        return false;
    WCHAR line[400];
    wsprintfW(line, L"\"\\Program Files\\Kestrum\\Kestrum.exe\" %s", arguments);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(NULL, line, NULL, NULL, FALSE, CREATE_SUSPENDED, NULL, L"D:\\", &startup, &run->first))
        return false;
    run->firstId = run->first.dwProcessId;
    bool ok = AssignProcessToJobObject(run->job, run->first.hProcess);
    ResumeThread(run->first.hThread);
    return ok;
}

void CloseJob(JobRun *run)
{
    if (run->job) {
        TerminateJobObject(run->job, 0);
        CloseHandle(run->job);
    }
    if (run->port)
        CloseHandle(run->port);
}

/* Reads the job's events up to the exit of process `until` and returns the
 * processes that began meanwhile (the first process itself excluded). */
std::vector<DWORD> ProcessesStartedBefore(JobRun *run, DWORD until)
{
    std::vector<DWORD> started;
    for (;;) {
        DWORD event = 0;
        ULONG_PTR key = 0;
        OVERLAPPED *data = NULL;
        if (!GetQueuedCompletionStatus(run->port, &event, &key, &data, WAIT_BOUND_MS)) {
            ADD_FAILURE() << "the job did not report the exit of " << until;
            return started;
        }
        DWORD process = (DWORD)(ULONG_PTR)data;
        if (event == JOB_OBJECT_MSG_NEW_PROCESS && process != run->firstId)
            started.push_back(process);
        if ((event == JOB_OBJECT_MSG_EXIT_PROCESS || event == JOB_OBJECT_MSG_ABNORMAL_EXIT_PROCESS)
            && process == until)
            return started;
    }
}

/* Waits until every process of the job has ended; false after the bound. */
bool JobEmpties(JobRun *run)
{
    for (;;) {
        DWORD event = 0;
        ULONG_PTR key = 0;
        OVERLAPPED *data = NULL;
        if (!GetQueuedCompletionStatus(run->port, &event, &key, &data, WAIT_BOUND_MS))
            return false;
        if (event == JOB_OBJECT_MSG_ACTIVE_PROCESS_ZERO)
            return true;
    }
}

/* Another process's command line, read from its process parameters. */
std::wstring CommandLineOf(HANDLE process)
{
    PROCESS_BASIC_INFORMATION basic = {};
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic), NULL) != 0)
        return L"(no basic information)";
    PEB peb;
    RTL_USER_PROCESS_PARAMETERS parameters;
    if (!ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof(peb), NULL)
        || !ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof(parameters), NULL))
        return L"(unreadable)";
    std::wstring line(parameters.CommandLine.Length / sizeof(WCHAR), L'\0');
    if (!ReadProcessMemory(process, parameters.CommandLine.Buffer, &line[0], parameters.CommandLine.Length, NULL))
        return L"(unreadable)";
    return line;
}

BOOL CALLBACK FindAbout(HWND window, LPARAM param)
{
    WCHAR cls[16] = L"";
    GetClassNameW(window, cls, 16);
    if (lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(window)) {
        *(HWND *)param = window;
        return FALSE;
    }
    return TRUE;
}

class DeviceCommands : public testing::Test {
protected:
    void SetUp() override
    {
        InstallKestrum();
        RemoveTree(L"\\Windows\\StartUp");
        MakeFolders(L"\\Windows\\StartUp");
    }
    void TearDown() override
    {
        CloseJob(&run);
        RemoveTree(L"\\Windows\\StartUp");
    }
    JobRun run;
};

} // namespace

TEST_F(DeviceCommands, PowerOffEndsTheProgramWith0)
{
    PROCESS_INFORMATION process;
    ASSERT_TRUE(StartKestrum(L"", &process));
    HWND main = WaitForMainWindow(process);
    ASSERT_TRUE(main != NULL);
    /* Nothing follows the command: the queued quit alone must end it. */
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_POWER_OFF, 0), 0);
    EXPECT_EQ(WaitForExit(process), 0u);
    EXPECT_FALSE(IsWindow(main));
}

TEST_F(DeviceCommands, SoftResetStartsKestrumAgainWithS)
{
    StoreSettings(OPT_RUN_AT_SOFT_RESET, 7);
    ASSERT_TRUE(PlatformCreateShortcutFile(KESTRUM_SHORTCUT, KESTRUM_TARGET));
    ASSERT_TRUE(StartInJob(L"", &run));
    HWND oldMain = WaitForMainWindow(run.first);
    ASSERT_TRUE(oldMain != NULL);

    PostMessageW(oldMain, WM_COMMAND, MAKEWPARAM(IDM_SOFT_RESET, 0), 0);
    std::vector<DWORD> started = ProcessesStartedBefore(&run, run.firstId);
    EXPECT_EQ(WaitForExit(run.first), 0u) << "the old program ends at once";
    EXPECT_FALSE(IsWindow(oldMain));
    ASSERT_EQ(started.size(), 1u) << "exactly the one start-up shortcut is started";

    PROCESS_INFORMATION again = {};
    again.dwProcessId = started[0];
    again.hProcess = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, started[0]);
    ASSERT_TRUE(again.hProcess != NULL);

    /* The new instance found no old window: it runs instead of ending with 16. */
    HWND newMain = WaitForMainWindow(again);
    ASSERT_TRUE(newMain != NULL) << "the new Kestrum did not come up";
    /* Read once it runs: a process fills in its own parameters as it starts. */
    EXPECT_EQ(CommandLineOf(again.hProcess), KESTRUM_TARGET);
    DWORD owner = 0;
    GetWindowThreadProcessId(newMain, &owner);
    EXPECT_EQ(owner, started[0]);
    PostMessageW(newMain, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(again), 0u);
}

TEST_F(DeviceCommands, SoftResetWithoutShortcutStartsNothingAndSavesNothing)
{
    /* The start-up folder holds no shortcut: a text file with a target in it
     * and a folder are not shortcuts. */
    MakeTextFile(L"\\Windows\\StartUp\\Kestrum.txt", "39#\"\\Program Files\\Kestrum\\Kestrum.exe\" S");
    MakeFolders(L"\\Windows\\StartUp\\sub");
    ASSERT_TRUE(StartInJob(L"", &run));
    HWND main = WaitForMainWindow(run.first);
    ASSERT_TRUE(main != NULL);
    DeleteStoredSettings();

    PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_SOFT_RESET, 0), 0);
    EXPECT_TRUE(ProcessesStartedBefore(&run, run.firstId).empty());
    EXPECT_EQ(WaitForExit(run.first), 0u);
    EXPECT_FALSE(StoredSettingsExist()) << "a reset saves nothing, though the window lost activation";
}

/* Kestrum comes back after a soft reset and cleans at once, then ends by
 * itself ("Exit program when finished"). */
TEST_F(DeviceCommands, SoftResetWithRunAtSoftResetCleans)
{
    StoreSettings(OPT_WINDOWS_TEMP | OPT_EXIT_WHEN_FINISHED | OPT_RUN_AT_SOFT_RESET, 7);
    MakeFile(L"\\Temp\\tools-old.txt", 100, FileTimeFromNow(-30 * 86400.0));
    MakeFileNow(L"\\Temp\\tools-new.txt", 100);
    ASSERT_TRUE(PlatformCreateShortcutFile(KESTRUM_SHORTCUT, KESTRUM_TARGET));
    ASSERT_TRUE(StartInJob(L"", &run));
    HWND main = WaitForMainWindow(run.first);
    ASSERT_TRUE(main != NULL);

    PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_SOFT_RESET, 0), 0);
    EXPECT_EQ(ProcessesStartedBefore(&run, run.firstId).size(), 1u);
    EXPECT_EQ(WaitForExit(run.first), 0u);
    ASSERT_TRUE(JobEmpties(&run)) << "the new Kestrum did not end by itself";
    EXPECT_FALSE(PathExists(L"\\Temp\\tools-old.txt")) << "the old file is cleaned";
    EXPECT_TRUE(PathExists(L"\\Temp\\tools-new.txt"));
}

TEST_F(DeviceCommands, AboutOpensOverTheProgramAndDoneClosesIt)
{
    PROCESS_INFORMATION process;
    ASSERT_TRUE(StartKestrum(L"", &process));
    HWND main = WaitForMainWindow(process);
    ASSERT_TRUE(main != NULL);
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDM_ABOUT, 0), 0);

    HWND about = NULL;
    DWORD start = GetTickCount();
    while (!about && GetTickCount() - start < WAIT_BOUND_MS) {
        EnumThreadWindows(process.dwThreadId, FindAbout, (LPARAM)&about);
        if (!about)
            WaitForSingleObject(process.hProcess, 20);
    }
    ASSERT_TRUE(about != NULL) << "no About box";
    EXPECT_EQ(GetWindow(about, GW_OWNER), main);
    WCHAR text[32] = L"";
    GetDlgItemTextW(about, IDC_ABOUT_VERSION, text, 32);
    EXPECT_STREQ(text, L"v2.0");
    RECT rect;
    GetWindowRect(about, &rect);
    EXPECT_EQ(rect.right - rect.left, 240);
    EXPECT_EQ(rect.top, 26) << "below the navigation bar";
    EXPECT_EQ(rect.bottom, 320);
    EXPECT_FALSE(IsWindowEnabled(main)) << "modal: the main window takes no input";
    EXPECT_TRUE(GetPropW(about, L"HandheldOkButton") != NULL) << "the bar shows ok for it";

    /* The navigation bar's "ok" is the done button: it posts WM_COMMAND 1. */
    PostMessageW(about, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
    start = GetTickCount();
    while (IsWindow(about) && GetTickCount() - start < WAIT_BOUND_MS)
        WaitForSingleObject(process.hProcess, 20);
    EXPECT_FALSE(IsWindow(about)) << "done did not close the box";
    EXPECT_TRUE(IsWindowEnabled(main));
    DWORD_PTR answer;
    EXPECT_TRUE(SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, WAIT_BOUND_MS, &answer)) << "still running";
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForExit(process), 0u);
}
