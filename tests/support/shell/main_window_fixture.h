/*
 * Kestrum's main window and sheet made in this process by start-up itself
 * (StartShell, undone by StopShell), from Kestrum's own resources and a
 * first-run settings record. Pages are made on their first show, so a test
 * may change the record first.
 */
#ifndef KESTRUM_TESTS_MAIN_WINDOW_FIXTURE_H
#define KESTRUM_TESTS_MAIN_WINDOW_FIXTURE_H

#include <gtest/gtest.h>
#include <windows.h>

class MainWindowFixture : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    HWND main = NULL;
};

/* The sheet's current page and its index. */
HWND CurrentPage(void);
int CurrentIndex(void);
/* Switches the sheet to a page by its template and returns the page. */
HWND ShowSheetPage(int templateId);

#endif
