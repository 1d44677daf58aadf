/*
 * The main window: class, creation and procedure.
 */
#include "shell/main_window.h"
#include "shell/base/shell_state.h"
#include "shell/sheet.h"
#include "shell/tools_menu.h"
#include "platform/main_window_frame.h"
#include "platform/menu_bar.h"
#include "settings/record/settings_record.h"
#include "resources/resource.h"

static LRESULT MainWindow_OnCreate(HWND window)
{
    MenuBarInfo bar;
    ZeroMemory(&bar, sizeof(bar));
    bar.size = sizeof(MenuBarInfo);
    bar.parent = window;
    bar.flags = 0;
    bar.menuBarId = IDR_MENUBAR;
    bar.resourceInstance = g_shell.instance;
    bar.bitmapId = 0;
    bar.bitmapImages = 0;
    g_shell.menuBar = PlatformCreateMenuBar(&bar) ? bar.menuBar : NULL;

    CreateMainSheet(window);
    return 0;
}

static void MainWindow_OnClose(void)
{
    /* Saves nothing itself: a close from outside ends the program as it is.
     * The page in front is told it is left, as the user leaves it: the
     * Settings page keeps what was typed into its fields. */
    LeaveCurrentPage();
    if (g_shell.menuBar)
        DestroyWindow(g_shell.menuBar);
    g_shell.menuBar = NULL;
    PostQuitMessage(0);
}

static void MainWindow_OnCommand(HWND window, int id)
{
    switch (id) {
    case MAIN_OK_COMMAND:
        /* "ok": deactivate (the settings are saved), then close. */
        SendMessageW(window, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), (LPARAM)window);
        SendMessageW(window, WM_CLOSE, 0, 0);
        break;
    case IDM_ABOUT:
        ToolsMenu_OnAbout(window);
        break;
    case IDM_SOFT_RESET:
        ToolsMenu_OnSoftReset(window);
        break;
    case IDM_POWER_OFF:
        ToolsMenu_OnPowerOff(window);
        break;
    case IDM_CLOSE_ALL:
        ToolsMenu_OnCloseAll(window);
        break;
    }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return MainWindow_OnCreate(window);
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            LeaveCurrentPage(); /* the page's typed values first, then the record */
            SaveSettings();
        }
        return 0;
    case WM_CLOSE:
        MainWindow_OnClose();
        return 0;
    case WM_COMMAND:
        MainWindow_OnCommand(window, LOWORD(wParam));
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterMainWindowClass(void)
{
    WNDCLASSW cls;
    ZeroMemory(&cls, sizeof(cls));
    cls.style = MAIN_CLASS_STYLE;
    cls.lpfnWndProc = MainWindowProc;
    cls.cbClsExtra = 0;
    cls.cbWndExtra = 0;
    cls.hInstance = g_shell.instance;
    cls.hIcon = LoadIconW(g_shell.instance, MAKEINTRESOURCEW(IDI_KESTRUM));
    cls.hCursor = NULL;
    cls.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    cls.lpszMenuName = NULL;
    cls.lpszClassName = g_shell.className;
    return RegisterClassW(&cls) != 0;
}

bool CreateMainWindow(void)
{
    g_shell.mainWindow = PlatformCreateWindow(WS_EX_HANDHELD_OK_BUTTON, g_shell.className, g_shell.windowTitle,
                                              MAIN_WINDOW_STYLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                              CW_USEDEFAULT, NULL, NULL, g_shell.instance, NULL);
    return g_shell.mainWindow != NULL;
}
