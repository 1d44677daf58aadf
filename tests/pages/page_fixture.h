/*
 * The fixture of the page tests: Kestrum's main window and sheet made in
 * this process, as start-up makes them, over a first-run settings record,
 * zero statistics and a first memory reading. Pages are made on their first
 * show, so a test may change the record before it shows a page.
 */
#ifndef KESTRUM_TESTS_PAGE_FIXTURE_H
#define KESTRUM_TESTS_PAGE_FIXTURE_H

#include <gtest/gtest.h>
#include <windows.h>

#include "engine/cleaning_state.h"
#include "page_test_support.h"
#include "settings/record/settings_record.h"
#include "shell/main_window.h"
#include "shell/base/shell_state.h"
#include "shell/startup.h"
#include "shell_test_support.h"

class PageTest : public testing::Test {
protected:
    void SetUp() override
    {
        ZeroMemory(&g_shell, sizeof(g_shell));
        g_shell.instance = (HINSTANCE)KestrumResources();
        ASSERT_TRUE(g_shell.instance != NULL);
        BuildShellTexts();
        MakeDrawingObjects();
        DeleteStoredSettings();
        LoadSettings();
        FillTaskTable();
        ZeroStatistics();
        TakeMemoryReading();
        UnregisterClassW(g_shell.className, g_shell.instance);
        ASSERT_TRUE(RegisterMainWindowClass());
        ASSERT_TRUE(CreateMainWindow());
        main = g_shell.mainWindow;
        ShowWindow(main, SW_SHOW);
        UpdateWindow(main);
        PumpMessages();
        ASSERT_TRUE(RecordDrawnTexts());
        ClearDrawnTexts();
    }
    void TearDown() override
    {
        if (IsWindow(main))
            DestroyWindow(main);
        PumpMessages();
        DeleteDrawingObjects();
    }
    HWND main = NULL;
};

#endif
