#include "main_window_fixture.h"

#include <commctrl.h>

#include "engine/cleaning_state.h"
#include "kestrum_program.h"
#include "settings/record/settings_record.h"
#include "settings_store.h"
#include "shell/main_window.h"
#include "shell/sheet.h"
#include "shell/base/shell_state.h"
#include "shell/startup.h"

void ReleaseDrawingObjects(void)
{
    DeleteObject(g_shell.progressBodyBrush);
    DeleteObject(g_shell.progressBodyStrip);
    DeleteObject(g_shell.reportBodyBrush);
    DeleteObject(g_shell.reportHeaderBrush);
    DeleteObject(g_shell.headerBrush);
    DeleteObject(g_shell.reportBodyStrip);
    DeleteObject(g_shell.reportHeaderStrip);
    DeleteObject(g_shell.headerStrip);
    DestroyIcon(g_shell.doneIcon);
    DestroyIcon(g_shell.pendingIcon);
    DeleteObject(g_shell.boldFont);
}

void MainWindowFixture::SetUp()
{
    ZeroMemory(&g_shell, sizeof(g_shell));
    g_shell.instance = (HINSTANCE)KestrumResources();
    ASSERT_TRUE(g_shell.instance != NULL);
    BuildShellTexts();
    CreateDrawingObjects();
    DeleteStoredSettings();
    LoadSettings();
    FillTaskTable();
    ZeroStatistics();
    TakeMemoryReading();
    /* Start-up tests register the class too; each test starts from a fresh one. */
    UnregisterClassW(g_shell.className, g_shell.instance);
    ASSERT_TRUE(RegisterMainWindowClass());
    ASSERT_TRUE(CreateMainWindow());
    main = g_shell.mainWindow;
    PumpMessages();
}

void MainWindowFixture::TearDown()
{
    if (IsWindow(main))
        DestroyWindow(main);
    PumpMessages();
    ReleaseDrawingObjects();
}

HWND CurrentPage(void)
{
    return (HWND)SendMessageW(g_shell.sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
}

int CurrentIndex(void)
{
    return (int)SendMessageW(g_shell.sheet, PSM_HWNDTOINDEX, (WPARAM)CurrentPage(), 0);
}

HWND ShowSheetPage(int templateId)
{
    ShowPage(templateId);
    return CurrentPage();
}
