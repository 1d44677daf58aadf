/* Sandbox check and file/registry helpers shared by the device tests. */
#include "device.h"
#include "platform/device_check.h"

#include <stdio.h>
#include <string.h>
#include <gtest/gtest.h>

bool InsideDevice(char *why, size_t whySize)
{
    WCHAR cwd[MAX_PATH];
    DWORD n = GetCurrentDirectoryW(MAX_PATH, cwd);
    if (n == 0 || lstrcmpiW(cwd, L"D:\\") != 0) {
        snprintf(why, whySize, "current directory is not D:\\");
        return false;
    }
    /* The same check as the emulated Kestrum.exe's: the drives and the device's mark. */
    const char *outside = PlatformOutsideDeviceReason();
    if (outside) {
        snprintf(why, whySize, "%s", outside);
        return false;
    }
    return true;
}

FILETIME FileTimeFromNow(double seconds)
{
    SYSTEMTIME st;
    FILETIME ft;
    GetSystemTime(&st);
    SystemTimeToFileTime(&st, &ft);
    ULARGE_INTEGER u;
    u.LowPart = ft.dwLowDateTime;
    u.HighPart = ft.dwHighDateTime;
    u.QuadPart += (LONGLONG)(seconds * 10000000.0);
    ft.dwLowDateTime = u.LowPart;
    ft.dwHighDateTime = u.HighPart;
    return ft;
}

void MakeFolders(const std::wstring &path)
{
    for (size_t i = 1; i <= path.size(); i++) {
        if (i == path.size() || path[i] == L'\\')
            CreateDirectoryW(path.substr(0, i).c_str(), NULL);
    }
}

static void MakeParent(const std::wstring &path)
{
    size_t slash = path.rfind(L'\\');
    if (slash != std::wstring::npos && slash > 0)
        MakeFolders(path.substr(0, slash));
}

void MakeFile(const std::wstring &path, DWORD size, const FILETIME &lastWrite)
{
    MakeParent(path);
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << "cannot create test file";
    if (size) {
        std::string bytes(size, 'k');
        DWORD written = 0;
        WriteFile(h, bytes.data(), size, &written, NULL);
        EXPECT_EQ(written, size);
    }
    EXPECT_TRUE(SetFileTime(h, NULL, NULL, &lastWrite));
    CloseHandle(h);
}

void MakeFileNow(const std::wstring &path, DWORD size)
{
    MakeFile(path, size, FileTimeFromNow(0));
}

void MakeTextFile(const std::wstring &path, const std::string &bytes)
{
    MakeParent(path);
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << "cannot create test file";
    DWORD written = 0;
    if (!bytes.empty())
        WriteFile(h, bytes.data(), (DWORD)bytes.size(), &written, NULL);
    CloseHandle(h);
    EXPECT_EQ(written, (DWORD)bytes.size()) << "short write";
}

bool PathExists(const std::wstring &path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
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

std::wstring FileText(const std::wstring &path, const wchar_t *missing)
{
    if (!PathExists(path))
        return missing;
    std::string bytes = FileBytes(path);
    return std::wstring((const wchar_t *)bytes.data(), bytes.size() / sizeof(wchar_t)).c_str();
}

void RemoveTree(const std::wstring &path)
{
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!wcscmp(fd.cFileName, L".") || !wcscmp(fd.cFileName, L".."))
                continue;
            std::wstring child = path + L"\\" + fd.cFileName;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                continue; /* never reach through a planted link */
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(find, &fd));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

void DeleteKeyTree(HKEY root, const std::wstring &path)
{
    RegDeleteTreeW(root, path.c_str());
    RegDeleteKeyW(root, path.c_str());
}

void SetStringValue(HKEY root, const std::wstring &key, const wchar_t *name, const std::wstring &value)
{
    HKEY h;
    ASSERT_EQ(RegCreateKeyExW(root, key.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &h, NULL), ERROR_SUCCESS);
    RegSetValueExW(h, name, 0, REG_SZ, (const BYTE *)value.c_str(), (DWORD)((value.size() + 1) * sizeof(WCHAR)));
    RegCloseKey(h);
}

bool KeyExists(HKEY root, const std::wstring &path)
{
    HKEY h;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return false;
    RegCloseKey(h);
    return true;
}
