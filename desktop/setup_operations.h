/*
 * The platform operations the setup launcher needs, gathered in one table.
 * Each member has the signature of the Win32 call it stands for, so
 * deskinstall_main.cpp fills the table with the real calls while the tests
 * fill it with recording fakes and run every step without a window or a file.
 */
#ifndef DESKINSTALL_SETUP_OPERATIONS_H
#define DESKINSTALL_SETUP_OPERATIONS_H

#include <windows.h>
#include <shellapi.h>

/* The start record is the ANSI form the launcher is built around: 60 bytes in
   a 32-bit build (a 64-bit build, for hosts without 32-bit support, widens it). */
static_assert(sizeof(void *) != 4 || sizeof(SHELLEXECUTEINFOA) == 60, "SHELLEXECUTEINFOA must be the 32-bit record");

struct SetupOperations {
    LONG (WINAPI *openKey)(HKEY root, LPCSTR path, DWORD options, REGSAM access, PHKEY key);
    LONG (WINAPI *queryValue)(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type,
                              LPBYTE data, LPDWORD size);
    LONG (WINAPI *closeKey)(HKEY key);
    DWORD (WINAPI *currentDirectory)(DWORD size, LPSTR buffer);
    UINT (WINAPI *systemDirectory)(LPSTR buffer, UINT size);
    BOOL (WINAPI *shellExecute)(SHELLEXECUTEINFOA *start);
    BOOL (WINAPI *copyFile)(LPCSTR source, LPCSTR destination, BOOL failIfExists);
    void (WINAPI *debugOutput)(LPCSTR text);
    int (WINAPI *messageBox)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
};

#endif
