/* The closer tests' own window and message pump. */
#include "observer_window.h"
#include "helper_protocol.h"

LONG g_observerCloses;
std::map<HWND, LONG> g_helperReports;

static LRESULT CALLBACK ObserverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        g_observerCloses++; /* never destroyed: the test must see the request */
        return 0;
    case HELPER_BARRIER:
        PostMessageW((HWND)wParam, HELPER_REPORT, (WPARAM)window, g_observerCloses);
        return 0;
    case HELPER_REPORT:
        g_helperReports[(HWND)wParam] = (LONG)lParam;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateObserverWindow(const wchar_t *className, const wchar_t *title)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ObserverProc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.lpszClassName = className;
    RegisterClassW(&wc);
    return CreateWindowW(className, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, NULL, NULL,
                         wc.hInstance, NULL);
}

void PumpOnce(void)
{
    MsgWaitForMultipleObjects(0, NULL, FALSE, 50, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}
