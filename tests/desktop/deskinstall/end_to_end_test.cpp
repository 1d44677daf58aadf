/*
 * Whole runs of the real deskinstall.exe inside a device: an install set in
 * D:\Install, a stand-in application manager registered under App Paths, and
 * a self-registering library that Wine's own regsvr32 registers. The test
 * starts deskinstall from the install set, waits for it and for every program
 * it started, then checks what arrived. Its debugger output and message boxes
 * are read from Wine's log by end_to_end.sh, which runs these tests.
 */
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>
#include <algorithm>
#include <string>
#include <vector>

#include "device.h"
#include "wait_bound.h"

namespace {

const char kAppPathsKey[] = "software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAppMgr.exe";
const char kMarkerKey[] = "Software\\Kestrum Tests\\deskinstall";

std::wstring SystemPath(const wchar_t *name)
{
    WCHAR dir[MAX_PATH];
    UINT length = GetSystemDirectoryW(dir, MAX_PATH);
    return std::wstring(dir, length) + L"\\" + name;
}

void RegisterAppManager(const char *path)
{
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kAppPathsKey, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL),
              ERROR_SUCCESS);
    RegSetValueExA(key, NULL, 0, REG_SZ, (const BYTE *)path, lstrlenA(path) + 1);
    RegCloseKey(key);
}

std::wstring ReadMarker()
{
    WCHAR value[MAX_PATH] = L"";
    DWORD size = sizeof(value) - sizeof(WCHAR);
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kMarkerKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return L"<no marker>";
    LONG status = RegQueryValueExW(key, L"RegisteredFrom", NULL, NULL, (BYTE *)value, &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? std::wstring(value) : L"<no marker>";
}

/* Leaves nothing of an earlier run in this device for the next one to find. */
void ForgetEarlierRuns()
{
    for (const wchar_t *name : {L"ZembaNetSync.DLL", L"QuilletManager.EXE", L"QuilletSync.DLL"})
        DeleteFileW(SystemPath(name).c_str());
    DeleteFileA("D:\\Temp\\appmgr-started.txt");
    RegDeleteKeyA(HKEY_CURRENT_USER, kMarkerKey);
}

/* The install set as it is delivered beside the launcher. */
void LayOutInstallSet()
{
    ForgetEarlierRuns();
    CreateDirectoryA("D:\\Install", NULL);
    ASSERT_TRUE(CopyFileA("D:\\Tests\\helper_deskinstall.exe", "D:\\Install\\deskinstall.exe", FALSE));
    ASSERT_TRUE(CopyFileA("D:\\Tests\\helper_deskinstall_regmarker.dll", "D:\\Install\\QuilletSync.DLL", FALSE));
    MakeTextFile(L"D:\\Install\\Setup.ini", "[Setup]\r\n");
    MakeTextFile(L"D:\\Install\\Quillet.ini", "[Quillet]\r\n");
    MakeTextFile(L"D:\\Install\\ZembaNetSync.DLL", "zemba net sync, new");
    MakeTextFile(L"D:\\Install\\QuilletManager.EXE", "quillet manager, new");
}

/* Waits for every running process of that name; the ones deskinstall
 * started exist until they end, since it never waits for them itself. */
void WaitForProcessesNamed(const char *name)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    ASSERT_NE(snapshot, INVALID_HANDLE_VALUE);
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        std::wstring exe(entry.szExeFile);
        if (std::string(exe.begin(), exe.end()) != name)
            continue;
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID);
        if (process) {
            WaitForSingleObject(process, INFINITE);
            CloseHandle(process);
        }
    }
    CloseHandle(snapshot);
}

/* Closes every message box deskinstall shows, each one once, until it ends;
 * returns how many boxes there were. The bound only stops a hung run. */
int CloseBoxesUntilExit(HANDLE process)
{
    const DWORD POLL_MS = 20; /* paces the search for boxes; nothing depends on it */
    std::vector<HWND> closed;
    for (DWORD waited = 0; waited < WAIT_BOUND_MS; waited += POLL_MS) {
        HWND box = FindWindowA("#32770", "Error");
        if (box && IsWindowVisible(box) && std::find(closed.begin(), closed.end(), box) == closed.end()) {
            closed.push_back(box);
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
        if (WaitForSingleObject(process, POLL_MS) != WAIT_TIMEOUT)
            return (int)closed.size();
    }
    ADD_FAILURE() << "deskinstall did not end";
    TerminateProcess(process, 0xDEAD);
    return (int)closed.size();
}

/* Starts deskinstall.exe (by default the copy in the install set) with its
 * current directory in the install set's folder and returns its exit code;
 * *boxes counts the message boxes it showed. */
DWORD RunDeskinstall(const char *commandLine, int *boxes = nullptr, const std::string &folder = "D:\\Install",
                     const std::string &program = "D:\\Install\\deskinstall.exe")
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;
    if (!CreateProcessA(program.c_str(), &line[0], NULL, NULL, FALSE, 0, NULL, folder.c_str(), &startup, &process)) {
        ADD_FAILURE() << "deskinstall.exe did not start, error " << GetLastError();
        return 0xFFFFFFFF;
    }
    int shown = CloseBoxesUntilExit(process.hProcess);
    if (boxes)
        *boxes = shown;
    DWORD exitCode = 0xFFFFFFFF;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    WaitForProcessesNamed("helper_deskinstall_appmgr.exe");
    WaitForProcessesNamed("regsvr32.exe");
    return exitCode;
}

TEST(EndToEnd, StartsManagerCopiesFilesAndRegistersTheLibrary)
{
    LayOutInstallSet();
    RegisterAppManager("D:\\Tests\\helper_deskinstall_appmgr.exe");
    /* An older copy in the system directory is replaced. */
    MakeTextFile(SystemPath(L"QuilletManager.EXE"), "quillet manager, old and longer");

    /* Arguments change nothing. */
    EXPECT_EQ(RunDeskinstall("deskinstall.exe /uninstall \"C:\\elsewhere\" -q"), 0u);

    EXPECT_EQ(FileBytes(L"D:\\Temp\\appmgr-started.txt"),
              "\"D:\\Install\\Setup.ini\" \"D:\\Install\\Quillet.ini\"\nD:\\Install\n");
    EXPECT_EQ(FileBytes(SystemPath(L"ZembaNetSync.DLL")), "zemba net sync, new");
    EXPECT_EQ(FileBytes(SystemPath(L"QuilletManager.EXE")), "quillet manager, new");
    EXPECT_TRUE(FileBytes(SystemPath(L"QuilletSync.DLL")) == FileBytes(L"D:\\Install\\QuilletSync.DLL"))
        << "the library in the system directory is not the one delivered";
    EXPECT_EQ(lstrcmpiW(ReadMarker().c_str(), SystemPath(L"QuilletSync.DLL").c_str()), 0)
        << "registered from " << ReadMarker();
}

TEST(EndToEnd, MissingRegisteredLibraryEndsQuietlyWithoutRegsvr32)
{
    LayOutInstallSet();
    RegisterAppManager("D:\\Tests\\helper_deskinstall_appmgr.exe");
    ASSERT_TRUE(DeleteFileA("D:\\Install\\QuilletSync.DLL"));

    EXPECT_EQ(RunDeskinstall("deskinstall.exe"), 0u);

    EXPECT_EQ(FileBytes(SystemPath(L"ZembaNetSync.DLL")), "zemba net sync, new");
    EXPECT_EQ(FileBytes(SystemPath(L"QuilletManager.EXE")), "quillet manager, new");
    EXPECT_FALSE(PathExists(SystemPath(L"QuilletSync.DLL")));
    EXPECT_EQ(ReadMarker(), L"<no marker>");
}

/* Both boxes are closed as they come; their texts are checked by end_to_end.sh. */
TEST(EndToEndBox, ManagerThatCannotStartIsReportedAndNothingIsCopied)
{
    LayOutInstallSet();
    RegisterAppManager("D:\\Tests\\no-such-appmgr.exe");

    int boxes = 0;
    EXPECT_EQ(RunDeskinstall("deskinstall.exe", &boxes), 3u);
    EXPECT_EQ(boxes, 2);

    EXPECT_FALSE(PathExists(SystemPath(L"ZembaNetSync.DLL")));
    EXPECT_FALSE(PathExists(SystemPath(L"QuilletManager.EXE")));
    EXPECT_FALSE(PathExists(SystemPath(L"QuilletSync.DLL")));
    EXPECT_FALSE(PathExists(L"D:\\Temp\\appmgr-started.txt"));
    EXPECT_EQ(ReadMarker(), L"<no marker>");
}

/* A regsvr32.exe beside the install set is never started: the real one in
 * the system directory registers the library. (The planted one, a copy of
 * the stand-in manager, would register nothing.) */
TEST(EndToEnd, PlantedRegsvr32BesideTheInstallSetIsNotRun)
{
    LayOutInstallSet();
    RegisterAppManager("D:\\Tests\\helper_deskinstall_appmgr.exe");
    ASSERT_TRUE(CopyFileA("D:\\Tests\\helper_deskinstall_appmgr.exe", "D:\\Install\\regsvr32.exe", FALSE));

    EXPECT_EQ(RunDeskinstall("deskinstall.exe"), 0u);
    DeleteFileA("D:\\Install\\regsvr32.exe");

    EXPECT_EQ(lstrcmpiW(ReadMarker().c_str(), SystemPath(L"QuilletSync.DLL").c_str()), 0)
        << "registered from " << ReadMarker() << ": the planted regsvr32.exe ran";
}

/* An install set in a folder as long as the current-directory read allows
 * (257 characters) still starts the manager with both paths whole; its
 * companion paths are too long to build, which the register box reports. */
TEST(EndToEndBox, LongestInstallSetFolderStillStartsTheManager)
{
    LayOutInstallSet();
    RegisterAppManager("D:\\Tests\\helper_deskinstall_appmgr.exe");
    std::string folder = "D:\\Install\\" + std::string(120, 'l');
    CreateDirectoryA(folder.c_str(), NULL);
    folder += "\\" + std::string(125, 'l');
    CreateDirectoryA(folder.c_str(), NULL);
    ASSERT_EQ(folder.size(), 257u);

    /* The launcher itself cannot live there: its own path would pass MAX_PATH.
     * What it reads comes from its current directory alone. */
    int boxes = 0;
    EXPECT_EQ(RunDeskinstall("deskinstall.exe", &boxes, folder, "D:\\Tests\\helper_deskinstall.exe"), 3u);
    EXPECT_EQ(boxes, 1);

    EXPECT_EQ(FileBytes(L"D:\\Temp\\appmgr-started.txt"),
              "\"" + folder + "\\Setup.ini\" \"" + folder + "\\Quillet.ini\"\n" + folder + "\n");
    EXPECT_FALSE(PathExists(SystemPath(L"QuilletSync.DLL")));
}

} // namespace
