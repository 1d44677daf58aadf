/*
 * Start-up, message loop and clean-up of Kestrum, in their fixed order.
 */
#include "shell/startup.h"
#include "shell/base/shell_state.h"
#include "common/bounded_text.h"
#include "platform/default_font.h"
#include "platform/device_check.h"
#include "shell/main_window.h"
#include "engine/cleaning_state.h"
#include "platform/foreground.h"
#include "platform/main_window_frame.h"
#include "settings/record/settings_record.h"
#include "resources/resource.h"
#include <stdio.h>
#include <wchar.h>

void BuildShellTexts(void)
{
    FormatText(g_shell.windowTitle, ARRAYSIZE(g_shell.windowTitle), L"%s", KESTRUM_PRODUCT);
    FormatText(g_shell.className, ARRAYSIZE(g_shell.className), L"%s %s", KESTRUM_MAKER, KESTRUM_PRODUCT);
    FormatText(g_shell.versionText, ARRAYSIZE(g_shell.versionText), L"v%d.%d", KESTRUM_VERSION_MAJOR, KESTRUM_VERSION_MINOR);
    g_shell.windowTitle[15] = 0;
    g_shell.className[31] = 0;
    g_shell.versionText[15] = 0;
}

bool HasAutoStartFlag(const WCHAR *commandLine)
{
    return commandLine && wcsstr(commandLine, L"S") != NULL;
}

/* The running instance comes forward with its dialogs; true if one exists. */
static bool BringRunningInstanceForward(void)
{
    HWND running = FindWindowW(g_shell.className, g_shell.windowTitle);
    if (!running)
        return false;
    PlatformSetForegroundWindow(PlatformTagForOwnedWindows(running));
    return true;
}

void CreateDrawingObjects(void)
{
    LOGFONTW font;
    ZeroMemory(&font, sizeof(font));
    font.lfHeight = 18;
    font.lfWeight = FW_BOLD;
    g_shell.boldFont = PlatformCreateFont(&font);

    g_shell.doneIcon = (HICON)LoadImageW(g_shell.instance, MAKEINTRESOURCEW(IDI_TASK_DONE), IMAGE_ICON, 16, 16, 0);
    g_shell.pendingIcon = (HICON)LoadImageW(g_shell.instance, MAKEINTRESOURCEW(IDI_TASK_PENDING), IMAGE_ICON, 16, 16, 0);

    g_shell.progressBodyStrip = LoadBitmapW(g_shell.instance, MAKEINTRESOURCEW(IDB_STRIP_PROGRESS_BODY));
    g_shell.reportBodyStrip = LoadBitmapW(g_shell.instance, MAKEINTRESOURCEW(IDB_STRIP_REPORT_BODY));
    g_shell.reportHeaderStrip = LoadBitmapW(g_shell.instance, MAKEINTRESOURCEW(IDB_STRIP_REPORT_HEADER));
    g_shell.headerStrip = LoadBitmapW(g_shell.instance, MAKEINTRESOURCEW(IDB_STRIP_HEADER));
    g_shell.progressBodyBrush = CreatePatternBrush(g_shell.progressBodyStrip);
    g_shell.reportBodyBrush = CreatePatternBrush(g_shell.reportBodyStrip);
    g_shell.reportHeaderBrush = CreatePatternBrush(g_shell.reportHeaderStrip);
    g_shell.headerBrush = CreatePatternBrush(g_shell.headerStrip);
}

/* The brushes of the two body strips and the font go first, as they always
 * have; every handle is cleared so a second release does nothing. */
void ReleaseDrawingObjects(void)
{
    DeleteObject(g_shell.progressBodyBrush);
    DeleteObject(g_shell.reportBodyBrush);
    DeleteObject(g_shell.boldFont);
    DeleteObject(g_shell.reportHeaderBrush);
    DeleteObject(g_shell.headerBrush);
    DeleteObject(g_shell.progressBodyStrip);
    DeleteObject(g_shell.reportBodyStrip);
    DeleteObject(g_shell.reportHeaderStrip);
    DeleteObject(g_shell.headerStrip);
    DestroyIcon(g_shell.doneIcon);
    DestroyIcon(g_shell.pendingIcon);
    g_shell.progressBodyBrush = g_shell.reportBodyBrush = g_shell.reportHeaderBrush = g_shell.headerBrush = NULL;
    g_shell.progressBodyStrip = g_shell.reportBodyStrip = g_shell.reportHeaderStrip = g_shell.headerStrip = NULL;
    g_shell.boldFont = NULL;
    g_shell.doneIcon = g_shell.pendingIcon = NULL;
}

bool StartShell(HINSTANCE instance, const WCHAR *commandLine)
{
    g_shell.instance = instance;
    BuildShellTexts();
    g_shell.autoStart = HasAutoStartFlag(commandLine);
    if (BringRunningInstanceForward())
        return false;
    CreateDrawingObjects();
    LoadSettings();
    FillTaskTable();
    ZeroStatistics();
    TakeMemoryReading();
    return RegisterMainWindowClass() && CreateMainWindow();
}

void StopShell(void)
{
    ReleaseDrawingObjects();
    if (g_shell.mainWindow)
        DestroyWindow(g_shell.mainWindow);
    g_shell.mainWindow = NULL;
    UnregisterClassW(g_shell.className, g_shell.instance);
}

/* The menu bar takes the bottom of the screen; the window keeps its size
 * when there is no menu bar. */
static void MakeRoomForMenuBar(void)
{
    if (!g_shell.menuBar)
        return;
    RECT rect;
    GetWindowRect(g_shell.mainWindow, &rect);
    MoveWindow(g_shell.mainWindow, rect.left, rect.top, rect.right - rect.left,
               rect.bottom - rect.top - HANDHELD_BAR_HEIGHT, FALSE);
}

int KestrumMain(HINSTANCE instance, const WCHAR *commandLine, int showCommand)
{
    /* Before any setting is read or any window touched: outside its device
     * this build would clean the desktop it was started on. */
    if (!PlatformConfirmEmulatedDevice())
        return EXIT_EARLY;
    if (!StartShell(instance, commandLine))
        return EXIT_EARLY;
    MakeRoomForMenuBar();

    /* Shown and painted before an auto-start run, which ends before the loop begins. */
    ShowWindow(g_shell.mainWindow, showCommand);
    if (!UpdateWindow(g_shell.mainWindow) || !SetForegroundWindow(g_shell.mainWindow))
        return EXIT_EARLY;
    if (g_shell.autoStart)
        SendMessageW(g_shell.progressPage, WM_COMMAND, MAKEWPARAM(IDC_PROGRESS_START, 0), 0);

    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }

    StopShell();
    return (int)message.wParam;
}
