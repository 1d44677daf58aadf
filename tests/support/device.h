/*
 * Helpers for tests that run inside an emulated handheld: the sandbox check,
 * and quick ways to lay out files, folders, times and registry keys.
 * Paths are device paths (root-relative, drive D: is the device's store).
 */
#ifndef KESTRUM_TESTS_DEVICE_H
#define KESTRUM_TESTS_DEVICE_H

#include <windows.h>
#include <string>

/* True only when the current directory is D:\ of a device that passes the
 * emulated Kestrum.exe's own device check. Otherwise fills why. */
bool InsideDevice(char *why, size_t whySize);

/* A file time a given number of seconds away from now (negative: in the past). */
FILETIME FileTimeFromNow(double seconds);

/* Creates every missing folder along path (device path, no trailing backslash). */
void MakeFolders(const std::wstring &path);

/* Writes a file of size bytes (parents created) and stamps its last-write time. */
void MakeFile(const std::wstring &path, DWORD size, const FILETIME &lastWrite);
void MakeFileNow(const std::wstring &path, DWORD size);
void MakeTextFile(const std::wstring &path, const std::string &bytes);

bool PathExists(const std::wstring &path);

/* The whole content of a file, or "<missing>" when it cannot be opened. */
std::string FileBytes(const std::wstring &path);

/* The UTF-16 text a helper program wrote to a file, or missing when the file
 * cannot be opened. */
std::wstring FileText(const std::wstring &path, const wchar_t *missing);

/* Removes a folder tree made by a test (attributes cleared first). */
void RemoveTree(const std::wstring &path);

/* Deletes a registry key with everything below it; missing keys are fine. */
void DeleteKeyTree(HKEY root, const std::wstring &path);
void SetStringValue(HKEY root, const std::wstring &key, const wchar_t *name, const std::wstring &value);
bool KeyExists(HKEY root, const std::wstring &path);

#endif
