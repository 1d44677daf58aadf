/*
 * peghelp.exe: the emulated handheld's help viewer. Kestrum starts it with
 * the command line "file:Kestrum.htm#topic"; it finds the help file (in
 * \Windows, where the handheld keeps help files, or beside itself), and
 * shows that one topic as plain text in a read-only edit box that fills the
 * screen, with the topic's heading as the window title. A viewer that is
 * already open gives way to the new one, so help never stacks up.
 */
#include <windows.h>

#include <string>

#include "help_topic.h"

static const WCHAR VIEWER_CLASS[] = L"PegHelpViewer";
static const int IDC_TOPIC_TEXT = 100;
static const int NAV_BAR_TOP = 26; /* the navigation bar's strip */

static std::wstring Widen(const std::string &s)
{
    if (s.empty())
        return std::wstring();
    UINT page = CP_UTF8;
    int n = MultiByteToWideChar(page, MB_ERR_INVALID_CHARS, s.data(), (int)s.size(), NULL, 0);
    if (n == 0) {
        page = CP_ACP;   /* not UTF-8: an older single-byte help file */
        n = MultiByteToWideChar(page, 0, s.data(), (int)s.size(), NULL, 0);
    }
    std::wstring w((size_t)n, L'\0');
    MultiByteToWideChar(page, 0, s.data(), (int)s.size(), &w[0], n);
    return w;
}

static std::string Narrow(const WCHAR *w)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, w, -1, NULL, 0, NULL, NULL);
    if (n <= 1)
        return std::string();
    std::string s((size_t)n - 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w, -1, &s[0], n, NULL, NULL);
    return s;
}

static bool ReadWholeFile(const std::wstring &path, std::string *content)
{
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD size = GetFileSize(f, NULL);
    bool ok = size != INVALID_FILE_SIZE && size < 4 * 1024 * 1024;
    if (ok) {
        content->assign(size, '\0');
        DWORD got = 0;
        ok = size == 0 || (ReadFile(f, &(*content)[0], size, &got, NULL) && got == size);
    }
    CloseHandle(f);
    return ok;
}

/* A bare name is looked for in \Windows, then beside the viewer, then in the
 * current folder; a name with a folder part is taken as it is. */
static bool FindHelpFile(const std::wstring &name, std::wstring *found)
{
    std::wstring candidates[3];
    int count = 0;
    if (name.find(L'\\') != std::wstring::npos || name.find(L':') != std::wstring::npos) {
        candidates[count++] = name;
    } else {
        candidates[count++] = L"\\Windows\\" + name;
        WCHAR exe[MAX_PATH];
        DWORD n = GetModuleFileNameW(NULL, exe, MAX_PATH);
        if (n > 0 && n < MAX_PATH) {
            std::wstring folder(exe, n);
            size_t slash = folder.rfind(L'\\');
            if (slash != std::wstring::npos)
                candidates[count++] = folder.substr(0, slash + 1) + name;
        }
        candidates[count++] = name;
    }
    for (int i = 0; i < count; i++) {
        if (GetFileAttributesW(candidates[i].c_str()) != INVALID_FILE_ATTRIBUTES) {
            *found = candidates[i];
            return true;
        }
    }
    return false;
}

/* Title and text to show for the command line, including the messages that
 * stand in for a missing file or topic. */
static void LoadTopic(const WCHAR *commandLine, std::wstring *title, std::wstring *text)
{
    HelpRequest request;
    if (!ParseHelpCommandLine(Narrow(commandLine), &request)) {
        *title = L"Help";
        *text = L"No help file was named.\r\n\r\nUsage: peghelp file:Kestrum.htm#topic";
        return;
    }
    std::wstring file = Widen(request.file), path;
    std::string html;
    if (!FindHelpFile(file, &path) || !ReadWholeFile(path, &html)) {
        *title = L"Help";
        *text = L"The help file " + file + L" could not be found.";
        return;
    }
    HelpTopic topic = ExtractHelpTopic(html, request.topic);
    if (!topic.found) {
        *title = L"Help";
        *text = L"The topic " + Widen(request.topic) + L" is not in " + file + L".";
        return;
    }
    *title = Widen(topic.title);
    *text = Widen(topic.text);
}

static LRESULT CALLBACK ViewerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SIZE: {
        HWND edit = GetDlgItem(hwnd, IDC_TOPIC_TEXT);
        if (edit)
            MoveWindow(edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    }
    case WM_SETFOCUS:
        SetFocus(GetDlgItem(hwnd, IDC_TOPIC_TEXT));
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) { /* the navigation bar's "ok" */
            DestroyWindow(hwnd);
            return 0;
        }
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show)
{
    /* The whole line: a caller that names no program puts the argument first. */
    const WCHAR *commandLine = GetCommandLineW();
    HWND previous = FindWindowW(VIEWER_CLASS, NULL);
    if (previous)
        PostMessageW(previous, WM_CLOSE, 0, 0);

    std::wstring title, text;
    LoadTopic(commandLine, &title, &text);

    WNDCLASSW wc = {};
    wc.lpfnWndProc = ViewerProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = VIEWER_CLASS;
    if (!RegisterClassW(&wc))
        return 1;

    /* The handheld's screen below the navigation bar, without a caption; the
     * bar shows the title and an "ok" that closes the viewer. */
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HWND hwnd = CreateWindowExW(0, VIEWER_CLASS, title.c_str(), WS_POPUP, 0, NAV_BAR_TOP, width,
                                height - NAV_BAR_TOP, NULL, NULL, instance, NULL);
    if (!hwnd)
        return 1;
    SetPropW(hwnd, L"HandheldOkButton", (HANDLE)1);
    RECT client;
    GetClientRect(hwnd, &client);
    HWND edit = CreateWindowExW(0, L"EDIT", text.c_str(),
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                                0, 0, client.right, client.bottom, hwnd, (HMENU)(INT_PTR)IDC_TOPIC_TEXT, instance, NULL);
    SendMessageW(edit, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), FALSE);
    ShowWindow(hwnd, show);
    UpdateWindow(hwnd);
    SetFocus(edit);

    MSG m;
    while (GetMessageW(&m, NULL, 0, 0) > 0) {
        if (m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE) {
            DestroyWindow(hwnd);
            continue;
        }
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
    return (int)m.wParam;
}
