/*
 * screenpos.exe: prints where on the device's screen a control is, as "X Y"
 * (the middle of it, in screen pixels), so that a script can tap it with a
 * real click instead of at a guessed pixel. Exit status 1 while the thing is
 * not on the screen, so callers can wait for it.
 *
 *   screenpos ok              the navigation bar's "ok" (or cross)
 *   screenpos tab N           tab N of the sheet in the window titled "Kestrum"
 *   screenpos toolbar N       button N of the menu bar
 *   screenpos menu-last       the last item of the open popup menu
 *   screenpos window TITLE    a visible top-level window of that title
 *   screenpos button TITLE TEXT  the button TEXT in that window (a message
 *                             box's "OK")
 *   screenpos front TITLE     the window the navigation bar speaks for, once
 *                             it is titled TITLE and the bar shows that
 *
 * Tab and toolbar rectangles live in the other program's memory, so they are
 * read through a block allocated in that process.
 */
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>
#include <stdlib.h>

#include "navbar_protocol.h"

static HWND FindChildOfClass(HWND parent, const WCHAR *className)
{
    HWND child = FindWindowExW(parent, NULL, className, NULL);
    if (child)
        return child;
    for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        HWND found = FindChildOfClass(c, className);
        if (found)
            return found;
    }
    return NULL;
}

/* Sends a message whose lParam points at a RECT the control fills in. */
static bool RemoteRect(HWND control, UINT message, WPARAM wParam, RECT *rect)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(control, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process)
        return false;
    void *remote = VirtualAllocEx(process, NULL, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
    bool ok = false;
    if (remote) {
        SIZE_T got = 0;
        ok = SendMessageW(control, message, wParam, (LPARAM)remote) &&
             ReadProcessMemory(process, remote, rect, sizeof(RECT), &got) && got == sizeof(RECT);
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    CloseHandle(process);
    if (ok)
        MapWindowPoints(control, NULL, (POINT *)rect, 2);
    return ok;
}

static bool Locate(int argc, wchar_t **argv, RECT *rect)
{
    const wchar_t *what = argc > 1 ? argv[1] : L"";
    int index = argc > 2 ? _wtoi(argv[2]) : 0; /* tab and toolbar */
    if (lstrcmpW(what, L"ok") == 0) {
        HWND bar = FindWindowW(NAVBAR_CLASS, NULL);
        if (!bar || !IsWindowVisible(bar) || !SendMessageW(bar, NAVBAR_QUERY_TARGET, 0, 0))
            return false;
        GetWindowRect(bar, rect);
        rect->left = rect->right - NAVBAR_OK_WIDTH;
        return true;
    }
    if (lstrcmpW(what, L"tab") == 0) {
        HWND main = FindWindowW(NULL, L"Kestrum");
        HWND tab = main ? FindChildOfClass(main, WC_TABCONTROLW) : NULL;
        return tab && IsWindowVisible(tab) && RemoteRect(tab, TCM_GETITEMRECT, (WPARAM)index, rect);
    }
    if (lstrcmpW(what, L"toolbar") == 0) {
        HWND bar = FindWindowW(L"KestrumMenuBar", NULL);
        HWND toolbar = bar ? FindWindowExW(bar, NULL, TOOLBARCLASSNAMEW, NULL) : NULL;
        return toolbar && IsWindowVisible(toolbar) && RemoteRect(toolbar, TB_GETITEMRECT, (WPARAM)index, rect);
    }
    if (lstrcmpW(what, L"front") == 0) {
        HWND bar = FindWindowW(NAVBAR_CLASS, NULL);
        HWND target = bar ? (HWND)SendMessageW(bar, NAVBAR_QUERY_TARGET, 0, 0) : NULL;
        WCHAR title[128] = L"";
        if (target)
            GetWindowTextW(target, title, 128);
        return target && argc > 2 && lstrcmpW(title, argv[2]) == 0 && GetWindowRect(target, rect);
    }
    if (lstrcmpW(what, L"window") == 0) {
        HWND window = argc > 2 ? FindWindowW(NULL, argv[2]) : NULL;
        return window && IsWindowVisible(window) && GetWindowRect(window, rect);
    }
    if (lstrcmpW(what, L"button") == 0) {
        HWND window = argc > 3 ? FindWindowW(NULL, argv[2]) : NULL;
        HWND button = window ? FindWindowExW(window, NULL, L"Button", argv[3]) : NULL;
        return button && IsWindowVisible(button) && GetWindowRect(button, rect);
    }
    if (lstrcmpW(what, L"menu-last") == 0) {
        /* The popup menu's own items are not readable from outside; its last
         * item is the row just above the menu's bottom border. */
        HWND menu = FindWindowW(L"#32768", NULL);
        if (!menu || !IsWindowVisible(menu))
            return false;
        GetWindowRect(menu, rect);
        int row = GetSystemMetrics(SM_CYMENU);
        rect->bottom -= GetSystemMetrics(SM_CYEDGE) + 1;
        rect->top = rect->bottom - row;
        return true;
    }
    return false;
}

int wmain(int argc, wchar_t **argv)
{
    RECT rect;
    if (!Locate(argc, argv, &rect))
        return 1;
    printf("%ld %ld\n", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    return 0;
}
