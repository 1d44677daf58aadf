/* Shared pieces of the hostile-input tests (see hardening_support.h). */
#include "hardening_support.h"
#include "quiet_page.h"

#include <gtest/gtest.h>
#include "device.h"
#include "engine/cleaning_run.h"
#include "engine/cleaning_state.h"
#include "engine/cleaning_work.h"
#include "settings/record/settings_record.h"

std::wstring LongForm(const std::wstring &path)
{
    return L"\\\\?\\D:" + path;
}

void MakeLongFolder(const std::wstring &path)
{
    size_t slash = path.find_last_of(L'\\');
    if (slash != std::wstring::npos && slash > 0 && !LongExists(path.substr(0, slash)))
        MakeLongFolder(path.substr(0, slash));
    CreateDirectoryW(LongForm(path).c_str(), NULL);
    ASSERT_TRUE(LongExists(path)) << path.size();
}

void MakeLongFile(const std::wstring &path, const std::string &bytes, const FILETIME &lastWrite)
{
    size_t slash = path.find_last_of(L'\\');
    if (slash != std::wstring::npos && slash > 0)
        MakeLongFolder(path.substr(0, slash));
    HANDLE h = CreateFileW(LongForm(path).c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << path.size();
    DWORD written = 0;
    if (!bytes.empty())
        WriteFile(h, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    EXPECT_EQ(written, bytes.size());
    EXPECT_TRUE(SetFileTime(h, NULL, NULL, &lastWrite));
    CloseHandle(h);
}

bool LongExists(const std::wstring &path)
{
    return GetFileAttributesW(LongForm(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsLink(const std::wstring &path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

void ClearFolder(const std::wstring &path)
{
    if (IsLink(path))
        return;
    RemoveTree(path);
}

void ClearEveryTarget()
{
    DeleteKeyTree(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
    DeleteKeyTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Apps");
    DeleteKeyTree(HKEY_LOCAL_MACHINE, L"Explorer\\AddressHistory");
    for (const wchar_t *folder : { L"\\Temp", L"\\My Documents", L"\\Windows\\Profiles\\guest",
             L"\\Windows\\Temporary Internet Files", L"\\Windows\\History", L"\\Windows\\Cookies",
             L"\\Windows\\AppMgr", L"\\Windows\\Start Menu", L"\\Windows\\StartUp", L"\\Program Files" })
        ClearFolder(folder);
    for (const wchar_t *folder : { L"\\Temp", L"\\My Documents", L"\\Windows\\Profiles\\guest",
             L"\\Windows\\AppMgr\\Install", L"\\Windows\\Start Menu", L"\\Windows\\StartUp", L"\\Program Files" })
        MakeFolders(folder);
}


std::vector<std::wstring> RunEveryTask(const wchar_t *folder1, const wchar_t *folder2)
{
    QuietPageLog log;
    FillTaskTable();
    memset(&g_settings, 0, sizeof(g_settings));
    g_settings.flags = 0x07FE; /* every task but closing programs */
    wcscpy(g_settings.folder1Path, folder1);
    wcscpy(g_settings.folder2Path, folder2);
    g_settings.ageLimitDays = 1;
    LoadPendingTaskMask();
    RunCleaning(QuietPage(), QuietPageOps(&log), &CLEANING_WORK);
    return log.completed;
}

std::string ShortcutBytes(const std::string &target)
{
    return std::to_string(target.size()) + "#" + target;
}

