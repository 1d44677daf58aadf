/*
 * CEAppMgr.exe, the emulated desktop's application manager for Pocket PC
 * software: given install descriptions on its command line (quoted paths, as
 * deskinstall passes them), it queues every cabinet they name for the
 * connected device. The device tool, standing in for the cable, delivers the
 * queue into the device's \Windows\AppMgr\Install and starts the device's
 * installer on each cabinet.
 *
 * An install description is an INI file: [CEAppManager] Component names a
 * section whose CabFiles lists cabinets, comma-separated, relative to the
 * description's folder. A description that is missing or malformed, or a
 * cabinet that is missing, is one line in the log; the rest goes on.
 *
 * Beside the program: Queue\ (the cabinets for the device) and CEAppMgr.log.
 */
#include <windows.h>
#include <shellapi.h>

enum { TEXT_MAX = 1024 };

static WCHAR g_home[MAX_PATH];   /* the program's folder, with a trailing backslash */
static HANDLE g_log = INVALID_HANDLE_VALUE;

/* One line of the log, in the desktop's code page. A name may be as long as
   a description's line; wsprintfW writes at most 1024 characters, so the
   line holds that much, the line end and the terminator. */
static void Log(const WCHAR *format, const WCHAR *a, const WCHAR *b)
{
    WCHAR line[1024 + 3];
    wsprintfW(line, format, a, b ? b : L"");
    lstrcatW(line, L"\r\n");
    char bytes[sizeof(line)];
    int n = WideCharToMultiByte(CP_ACP, 0, line, -1, bytes, sizeof(bytes), NULL, NULL);
    DWORD written;
    if (n > 1 && g_log != INVALID_HANDLE_VALUE)
        WriteFile(g_log, bytes, (DWORD)(n - 1), &written, NULL);
}

static bool Join(WCHAR *out, const WCHAR *folder, const WCHAR *name)
{
    if (lstrlenW(folder) + lstrlenW(name) >= MAX_PATH)
        return false;
    lstrcpyW(out, folder);
    lstrcatW(out, name);
    return true;
}

static const WCHAR *FileName(const WCHAR *path)
{
    const WCHAR *name = path;
    for (const WCHAR *p = path; *p; p++) {
        if (*p == L'\\' || *p == L'/')
            name = p + 1;
    }
    return name;
}

/* Copies the cabinet NAME (relative to FOLDER) into the queue. */
static void QueueCabinet(const WCHAR *description, const WCHAR *folder, const WCHAR *name)
{
    WCHAR source[MAX_PATH], queued[MAX_PATH], queueFolder[MAX_PATH];
    DWORD attributes;
    if (!Join(source, folder, name) || (attributes = GetFileAttributesW(source)) == INVALID_FILE_ATTRIBUTES
        || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        Log(L"%s: no such cabinet (named by %s)", name, description);
        return;
    }
    if (!Join(queueFolder, g_home, L"Queue") || !Join(queued, g_home, L"Queue\\")
        || lstrlenW(queued) + lstrlenW(FileName(source)) >= MAX_PATH) {
        Log(L"%s: the queue's path is too long (named by %s)", name, description);
        return;
    }
    CreateDirectoryW(queueFolder, NULL);
    lstrcatW(queued, FileName(source));
    if (CopyFileW(source, queued, FALSE))
        Log(L"queued %s for the device (from %s)", FileName(source), description);
    else
        Log(L"%s: could not be queued (named by %s)", name, description);
}

static void TrimBlanks(WCHAR **start, WCHAR *end)
{
    while (**start == L' ' || **start == L'\t')
        (*start)++;
    while (end > *start && (end[-1] == L' ' || end[-1] == L'\t'))
        *--end = 0;
}

static void ReadDescription(const WCHAR *path)
{
    DWORD attributes = GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        Log(L"%s: no such install description", path, NULL);
        return;
    }
    WCHAR component[TEXT_MAX], cabs[TEXT_MAX], folder[MAX_PATH];
    GetPrivateProfileStringW(L"CEAppManager", L"Component", L"", component, TEXT_MAX, path);
    if (!component[0]) {
        Log(L"%s: not an install description (no [CEAppManager] Component)", path, NULL);
        return;
    }
    GetPrivateProfileStringW(component, L"CabFiles", L"", cabs, TEXT_MAX, path);
    if (!cabs[0]) {
        Log(L"%s: component %s names no CabFiles", path, component);
        return;
    }
    lstrcpynW(folder, path, MAX_PATH);
    folder[FileName(folder) - folder] = 0;
    WCHAR *item = cabs;
    for (;;) {
        WCHAR *end = item;
        while (*end && *end != L',')
            end++;
        bool last = *end == 0;
        *end = 0;
        TrimBlanks(&item, end);
        if (*item)
            QueueCabinet(path, folder, item);
        if (last)
            break;
        item = end + 1;
    }
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    DWORD n = GetModuleFileNameW(NULL, g_home, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return 1;
    g_home[FileName(g_home) - g_home] = 0;
    WCHAR logPath[MAX_PATH];
    if (!Join(logPath, g_home, L"CEAppMgr.log"))
        return 1;
    g_log = CreateFileW(logPath, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    int argc = 0;
    LPWSTR *argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2)
        Log(L"no install description given", NULL, NULL);
    for (int i = 1; argv && i < argc; i++)
        ReadDescription(argv[i]);
    if (g_log != INVALID_HANDLE_VALUE)
        CloseHandle(g_log);
    return 0;
}
