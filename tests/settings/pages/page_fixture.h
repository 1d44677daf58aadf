/*
 * The fixture of the page tests: the kit's main window, shown and painted,
 * with every text drawn from then on recorded.
 */
#ifndef KESTRUM_TESTS_PAGE_FIXTURE_H
#define KESTRUM_TESTS_PAGE_FIXTURE_H

#include "engine/cleaning_state.h"
#include "main_window_fixture.h"
#include "shell/main_window.h"
#include "shell/base/shell_state.h"
#include "kestrum_program.h"
#include "page_test_support.h"
#include "settings_store.h"

class PageTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        if (HasFatalFailure())
            return;
        ShowWindow(main, SW_SHOW);
        UpdateWindow(main);
        PumpMessages();
        ASSERT_TRUE(RecordDrawnTexts());
        ClearDrawnTexts();
    }
};

#endif
