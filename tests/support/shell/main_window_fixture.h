/*
 * Kestrum's main window and sheet made in this process, as start-up makes
 * them: Kestrum's own resources and drawing objects, a first-run settings
 * record, the task table, zero statistics and a first memory reading. Pages
 * are made on their first show, so a test may change the record first.
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

/* Deletes what start-up's CreateDrawingObjects made. */
void ReleaseDrawingObjects(void);

/* The sheet's current page and its index. */
HWND CurrentPage(void);
int CurrentIndex(void);
/* Switches the sheet to a page by its template and returns the page. */
HWND ShowSheetPage(int templateId);

#endif
