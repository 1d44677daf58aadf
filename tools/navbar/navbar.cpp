/*
 * navbar.exe: the emulated handheld shell's navigation bar. A 26-pixel strip
 * across the top of the screen with the Start flag, the title of the window
 * in front, the time, and at the right "ok" for a window that has the ok
 * style (the window property HandheldOkButton; the bit itself never reaches
 * desktop Win32) or the smart-minimise cross for any other. Tapping "ok"
 * posts WM_COMMAND 1 to that window; tapping the cross hides it.
 *
 * The bar follows the screen by polling: a timer four times a second reads
 * the foreground window, its title and its ok property, and repaints when
 * anything it shows changed. Polling sees windows of every process and every
 * title change without hooks into other programs. The bar has no title of
 * its own, so the program closer leaves it alone, and it never takes the
 * foreground from the window it speaks for.
 */
#include <windows.h>

#include "navbar_protocol.h"
#include "navbar_state.h"

enum : UINT_PTR { POLL_TIMER = 1 };
enum : UINT { POLL_MS = 250 };

/* What the bar shows; compared on every poll. */
struct BarView {
    HWND target;
    bool ok;
    WCHAR title[128];
    WORD hour, minute;
};

static BarView g_view;
static HFONT g_titleFont, g_smallFont;

static bool ReadView(HWND bar, BarView *view)
{
    BarView next = {};
    next.target = ChooseNavTarget(GetForegroundWindow(), g_view.target, bar);
    if (next.target) {
        GetWindowTextW(next.target, next.title, (int)(sizeof(next.title) / sizeof(next.title[0])));
        next.ok = GetPropW(next.target, L"HandheldOkButton") != NULL;
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    next.hour = now.wHour;
    next.minute = now.wMinute;
    bool changed = next.target != view->target || next.ok != view->ok || next.hour != view->hour ||
                   next.minute != view->minute || lstrcmpW(next.title, view->title) != 0;
    *view = next;
    return changed;
}

static void Refresh(HWND bar)
{
    HWND before = g_view.target;
    /* Painted before the caller goes on, so that a query's answer is also
     * what the screen shows. */
    if (ReadView(bar, &g_view)) {
        InvalidateRect(bar, NULL, TRUE);
        UpdateWindow(bar);
    }
    /* A window that comes forward may have been raised over the bar. */
    if (g_view.target != before)
        SetWindowPos(bar, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

/* The handheld's four-pane Start flag, drawn in a 14 x 12 box. */
static void DrawFlag(HDC dc, int left, int top)
{
    static const COLORREF panes[4] = {RGB(240, 80, 40), RGB(120, 200, 40), RGB(40, 140, 240), RGB(255, 200, 0)};
    for (int i = 0; i < 4; ++i) {
        RECT pane = {left + (i % 2) * 7, top + (i / 2) * 6, left + (i % 2) * 7 + 6, top + (i / 2) * 6 + 5};
        HBRUSH brush = CreateSolidBrush(panes[i]);
        FillRect(dc, &pane, brush);
        DeleteObject(brush);
    }
}

static void Paint(HWND bar)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(bar, &ps);
    RECT client;
    GetClientRect(bar, &client);
    HBRUSH band = CreateSolidBrush(RGB(0, 40, 120));
    FillRect(dc, &client, band);
    DeleteObject(band);
    DrawFlag(dc, 6, 7);

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    HGDIOBJ old = SelectObject(dc, g_smallFont);
    WCHAR clock[8];
    wsprintfW(clock, L"%u:%02u", (unsigned)g_view.hour, (unsigned)g_view.minute);
    RECT clockRect = {client.right - NAVBAR_OK_WIDTH - 40, 0, client.right - NAVBAR_OK_WIDTH - 4, client.bottom};
    DrawTextW(dc, clock, -1, &clockRect, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);

    SelectObject(dc, g_titleFont);
    RECT titleRect = {NAVBAR_FLAG_WIDTH, 0, clockRect.left - 4, client.bottom};
    DrawTextW(dc, g_view.title, -1, &titleRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);

    if (g_view.target) {
        RECT okRect = {client.right - NAVBAR_OK_WIDTH, 0, client.right, client.bottom};
        if (g_view.ok) {
            /* "ok" in a white ring, as the handheld draws it. */
            HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
            HGDIOBJ oldPen = SelectObject(dc, pen);
            HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
            Ellipse(dc, okRect.left + 2, 3, okRect.right - 2, client.bottom - 3);
            SelectObject(dc, oldBrush);
            SelectObject(dc, oldPen);
            DeleteObject(pen);
        }
        DrawTextW(dc, g_view.ok ? L"ok" : L"\x00D7", -1, &okRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    SelectObject(dc, old);
    EndPaint(bar, &ps);
}

static void Tap(HWND bar, int x)
{
    Refresh(bar);
    RECT client;
    GetClientRect(bar, &client);
    switch (DecideNavTap(x, client.right, g_view.target, g_view.ok)) {
    case NAV_TAP_OK:
        PostMessageW(g_view.target, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
        break;
    case NAV_TAP_HIDE:
        /* Smart minimise: the program keeps running, out of sight. */
        ShowWindowAsync(g_view.target, SW_HIDE);
        break;
    case NAV_TAP_NOTHING:
        break;
    }
}

static LRESULT CALLBACK BarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_LBUTTONUP:
        Tap(bar, (short)LOWORD(lParam));
        return 0;
    case WM_TIMER:
        Refresh(bar);
        return 0;
    case WM_PAINT:
        Paint(bar);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case NAVBAR_QUERY_TARGET:
        Refresh(bar);
        return (LRESULT)g_view.target;
    case NAVBAR_QUERY_OK:
        Refresh(bar);
        return g_view.ok ? 1 : 0;
    case NAVBAR_QUERY_TITLE_CHAR:
        Refresh(bar);
        return wParam < (WPARAM)lstrlenW(g_view.title) ? g_view.title[wParam] : 0;
    case NAVBAR_BARRIER:
        PostMessageW((HWND)wParam, (UINT)lParam, 0, 0);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(bar, message, wParam, lParam);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
    /* One bar a screen: a second start leaves the first in charge. */
    if (FindWindowW(NAVBAR_CLASS, NULL))
        return 0;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = BarProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    wc.lpszClassName = NAVBAR_CLASS;
    if (!RegisterClassW(&wc))
        return 1;
    g_titleFont = CreateFontW(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    g_smallFont = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    HWND bar = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, NAVBAR_CLASS, L"", WS_POPUP,
                               0, 0, GetSystemMetrics(SM_CXSCREEN), NAVBAR_HEIGHT, NULL, NULL, instance, NULL);
    if (!bar)
        return 1;
    ReadView(bar, &g_view);
    ShowWindow(bar, SW_SHOWNOACTIVATE);
    SetTimer(bar, POLL_TIMER, POLL_MS, NULL);
    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    DeleteObject(g_titleFont);
    DeleteObject(g_smallFont);
    return 0;
}
