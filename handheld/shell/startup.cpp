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

/* Step 4: the running instance comes forward with its dialogs; true if one exists. */
static bool BringRunningInstanceForward(void)
{
    HWND running = FindWindowW(g_shell.className, g_shell.windowTitle);
    if (!running)
        return false;
    PlatformSetForegroundWindow(PlatformTagForOwnedWindows(running));
    return true;
}

/* Steps 5 to 7: font, icons, strip bitmaps and their brushes. */
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

/* Step 13: the menu bar takes the bottom 26 pixels; the window keeps its
 * size when there is no menu bar. */
static void MakeRoomForMenuBar(void)
{
    if (!g_shell.menuBar)
        return;
    RECT rect;
    GetWindowRect(g_shell.mainWindow, &rect);
    MoveWindow(g_shell.mainWindow, rect.left, rect.top, rect.right - rect.left,
               rect.bottom - rect.top - HANDHELD_BAR_HEIGHT, FALSE);
}

/* Step 17. */
static void CleanUp(void)
{
    DeleteObject(g_shell.progressBodyBrush);
    DeleteObject(g_shell.reportBodyBrush);
    DeleteObject(g_shell.boldFont);
    DestroyWindow(g_shell.mainWindow);
}

int KestrumMain(HINSTANCE instance, const WCHAR *commandLine, int showCommand)
{
    /* Before any setting is read or any window touched: outside its device
     * this build would clean the desktop it was started on. */
    if (!PlatformConfirmEmulatedDevice())
        return EXIT_EARLY;
    g_shell.instance = instance;                        /* 1 */
    BuildShellTexts();                                  /* 2 */
    g_shell.autoStart = HasAutoStartFlag(commandLine);  /* 3 */
    if (BringRunningInstanceForward())                  /* 4 */
        return EXIT_EARLY;
    CreateDrawingObjects();                             /* 5, 6, 7 */
    LoadSettings();                                     /* 8 */
    FillTaskTable();                                    /* 9 */
    ZeroStatistics();                                   /* 10 */
    TakeMemoryReading();
    if (!RegisterMainWindowClass())                     /* 11 */
        return EXIT_EARLY;
    if (!CreateMainWindow())                            /* 12 */
        return EXIT_EARLY;
    MakeRoomForMenuBar();                               /* 13 */

    ShowWindow(g_shell.mainWindow, showCommand);        /* 14 */
    if (!UpdateWindow(g_shell.mainWindow) || !SetForegroundWindow(g_shell.mainWindow))
        return EXIT_EARLY;

    if (g_shell.autoStart)                              /* 15 */
        SendMessageW(g_shell.progressPage, WM_COMMAND, MAKEWPARAM(IDC_PROGRESS_START, 0), 0);

    MSG message;                                        /* 16 */
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }

    CleanUp();                                          /* 17 */
    return (int)message.wParam;
}
