#include "main_window_fixture.h"

#include <commctrl.h>

#include "kestrum_program.h"
#include "settings_store.h"
#include "shell/sheet.h"
#include "shell/base/shell_state.h"
#include "shell/startup.h"

void MainWindowFixture::SetUp()
{
    ZeroMemory(&g_shell, sizeof(g_shell));
    DeleteStoredSettings();
    HINSTANCE instance = (HINSTANCE)KestrumResources();
    ASSERT_TRUE(instance != NULL);
    ASSERT_TRUE(StartShell(instance, L""));
    main = g_shell.mainWindow;
    PumpMessages();
}

void MainWindowFixture::TearDown()
{
    StopShell();
    PumpMessages();
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
