/* Shared pieces of the hostile-input tests (see hardening_support.h). */
#include "hardening_support.h"

#include <gtest/gtest.h>
#include "device.h"
#include "engine/cleaning_run.h"
#include "engine/cleaning_state.h"
#include "engine/cleaning_work.h"
#include "settings/settings_record.h"

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

namespace {

HWND Item(HWND, int id) { return (HWND)(INT_PTR)id; }
void Bar(HWND, int) {}
void Show(HWND, bool) {}
void Enable(HWND, bool) {}
HDC GetDc(HWND) { return (HDC)1; }
void ReleaseDc(HWND, HDC) {}
void Client(HWND, RECT *r) { SetRect(r, 0, 0, 240, 268); }
void Colour(HDC, COLORREF) {}
void Transparent(HDC) {}
void Header(HWND, HDC, COLORREF, const WCHAR *) {}
std::vector<std::wstring> *s_completed;
int Line(HDC, RECT, WORD bit, const WCHAR *text)
{
    if (!(g_pendingTasks & bit))
        s_completed->push_back(text);
    return 17;
}
void Pause(DWORD) {}
void Sound() {}

} // namespace

std::vector<std::wstring> RunEveryTask(const wchar_t *folder1, const wchar_t *folder2)
{
    std::vector<std::wstring> completed;
    s_completed = &completed;
    FillTaskTable();
    memset(&g_settings, 0, sizeof(g_settings));
    g_settings.flags = 0x07FE; /* every task but closing programs */
    wcscpy(g_settings.folder1Path, folder1);
    wcscpy(g_settings.folder2Path, folder2);
    g_settings.ageLimitDays = 1;
    LoadPendingTaskMask();
    const CleaningPageOps page = { Item, Bar, Show, Enable, GetDc, ReleaseDc, Client, Colour, Transparent, Header, Line, Pause, Sound };
    RunCleaning((HWND)1, &page, &CLEANING_WORK);
    s_completed = NULL;
    return completed;
}

std::string ShortcutBytes(const std::string &target)
{
    return std::to_string(target.size()) + "#" + target;
}

std::string FileBytes(const std::wstring &path)
{
    std::string bytes;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return "<missing>";
    char buffer[4096];
    DWORD got;
    while (ReadFile(h, buffer, sizeof(buffer), &got, NULL) && got)
        bytes.append(buffer, got);
    CloseHandle(h);
    return bytes;
}
