/*
 * demoapp.exe: a stand-in for the ordinary programs that run on a demo
 * handheld, so "Stop running programs" has something to close. It opens one
 * titled window (the title is its command line, "Demo" when empty) and ends
 * when the window is asked to close. While it runs, the file
 * \Demo\Running\<title>.txt says so; the file goes when the program ends,
 * which lets the device tool count the programs that were closed.
 */
#include <windows.h>

#include <string>

static std::wstring g_marker;

static LRESULT CALLBACK DemoProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r;
        GetClientRect(hwnd, &r);
        WCHAR title[64];
        GetWindowTextW(hwnd, title, 64);
        DrawTextW(dc, title, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int show)
{
    std::wstring title = commandLine ? commandLine : L"";
    if (title.size() >= 2 && title.front() == L'"' && title.back() == L'"')
        title = title.substr(1, title.size() - 2);
    if (title.empty())
        title = L"Demo";
    if (title.size() > 60)
        title.resize(60);

    WNDCLASSW wc = {};
    wc.lpfnWndProc = DemoProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = L"KestrumDemoApp";
    RegisterClassW(&wc);
    /* A handheld program's window: no caption, the screen below the
     * navigation bar, which shows the title and the smart-minimise cross. */
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, title.c_str(), WS_POPUP, 0, 26, GetSystemMetrics(SM_CXSCREEN),
                                GetSystemMetrics(SM_CYSCREEN) - 26, NULL, NULL, instance, NULL);
    if (hwnd) {
        ShowWindow(hwnd, show);
        UpdateWindow(hwnd);
        /* Said only once the window can be found and asked to close. */
        CreateDirectoryW(L"\\Demo", NULL);
        CreateDirectoryW(L"\\Demo\\Running", NULL);
        g_marker = L"\\Demo\\Running\\" + title + L".txt";
        HANDLE f = CreateFileW(g_marker.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        if (f != INVALID_HANDLE_VALUE)
            CloseHandle(f);
        MSG m;
        while (GetMessageW(&m, NULL, 0, 0) > 0) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    }
    if (!g_marker.empty())
        DeleteFileW(g_marker.c_str());
    return 0;
}
