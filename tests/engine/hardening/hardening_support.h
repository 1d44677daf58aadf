/*
 * Shared pieces of the hostile-input tests: long paths made through the
 * platform's long-path prefix, clearing a target without ever reaching
 * through a planted link, and a whole cleaning run with the real task work
 * and a page side that only records.
 */
#ifndef KESTRUM_TESTS_HARDENING_SUPPORT_H
#define KESTRUM_TESTS_HARDENING_SUPPORT_H

#include <windows.h>
#include <string>
#include <vector>

/* Device paths (root-relative) of at most 32,000 characters. */
std::wstring LongForm(const std::wstring &path);
void MakeLongFolder(const std::wstring &path);
void MakeLongFile(const std::wstring &path, const std::string &bytes, const FILETIME &lastWrite);
bool LongExists(const std::wstring &path);

/* Empties and removes a folder made by a test; a folder that is itself a
 * link is left alone, and links inside are never entered. */
void ClearFolder(const std::wstring &path);

bool IsLink(const std::wstring &path);

/* Clears every cleaning target (planted links stay), the application list,
 * the shell-folders key and the address history, and makes the handheld's
 * own folders again. */
void ClearEveryTarget();

/* Runs every task but closing programs with the real work, with the given
 * folder paths, ageLimitDays 1 and the page side recorded only. Returns the
 * task lines drawn as complete. */
std::vector<std::wstring> RunEveryTask(const wchar_t *folder1, const wchar_t *folder2);

/* A shortcut file's bytes: the target's length, "#", the target. */
std::string ShortcutBytes(const std::string &target);


#endif
