/*
 * helper_windows.exe: a stand-in application for the closer tests. Each
 * argument describes one top-level window as "FLAGS|CLASS|TITLE": FLAGS holds
 * 'v' for a visible window and 'i' for one that ignores WM_CLOSE; the title may
 * be empty. A window destroys itself on WM_CLOSE unless it ignores it; the
 * program ends when its last window is gone. Every window counts the close
 * requests it receives and reports them when asked (see helper_protocol.h).
 */
#include <windows.h>
#include <stdlib.h>
#include <wchar.h>

#include "helper_protocol.h"

enum { MAX_WINDOWS = 32 };

struct HelperWindow {
    HWND window;
    bool ignoresClose;
    LONG closes;
};

static HelperWindow g_windows[MAX_WINDOWS];
static int g_windowCount;
static int g_liveWindows;

static HelperWindow *Lookup(HWND window)
{
    for (int i = 0; i < g_windowCount; i++) {
        if (g_windows[i].window == window)
            return &g_windows[i];
    }
    return NULL;
}

static LRESULT CALLBACK HelperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    HelperWindow *self = Lookup(window);
    switch (message) {
    case WM_CLOSE:
        if (self) {
            self->closes++;
            if (self->ignoresClose)
                return 0;
        }
        DestroyWindow(window);
        return 0;
    case HELPER_BARRIER:
        PostMessageW((HWND)wParam, HELPER_REPORT, (WPARAM)window, self ? self->closes : 0);
        return 0;
    case WM_DESTROY:
        if (--g_liveWindows == 0)
            PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

/* Splits "FLAGS|CLASS|TITLE" in place; false when the argument is malformed. */
static bool ParseWindowArgument(WCHAR *argument, WCHAR **flags, WCHAR **className, WCHAR **title)
{
    WCHAR *bar1 = wcschr(argument, L'|');
    if (bar1 == NULL)
        return false;
    WCHAR *bar2 = wcschr(bar1 + 1, L'|');
    if (bar2 == NULL)
        return false;
    *bar1 = 0;
    *bar2 = 0;
    *flags = argument;
    *className = bar1 + 1;
    *title = bar2 + 1;
    return **className != 0;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    for (int i = 1; i < __argc && g_windowCount < MAX_WINDOWS; i++) {
        WCHAR *flags, *className, *title;
        if (!ParseWindowArgument(__wargv[i], &flags, &className, &title))
            return 2;

        WNDCLASSW wc = {};
        wc.lpfnWndProc = HelperProc;
        wc.hInstance = instance;
        wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
        wc.lpszClassName = className;
        if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            return 3;

        HelperWindow *slot = &g_windows[g_windowCount++];
        slot->ignoresClose = wcschr(flags, L'i') != NULL;
        DWORD style = WS_OVERLAPPEDWINDOW | (wcschr(flags, L'v') ? WS_VISIBLE : 0);
        int offset = (g_windowCount % 8) * 10;
        slot->window = CreateWindowW(className, title, style, offset, offset, 120, 80,
                                     NULL, NULL, instance, NULL);
        if (slot->window == NULL)
            return 4;
        g_liveWindows++;
    }
    if (g_liveWindows == 0)
        return 1;

    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
