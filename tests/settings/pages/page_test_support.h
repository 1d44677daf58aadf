/*
 * Support of the page tests: a recorder of every text drawn
 * (DrawTextW as this program imports it, with the context's colour,
 * background mode and the height the text takes in its font at the moment
 * of drawing).
 */
#ifndef KESTRUM_TESTS_PAGE_TEST_SUPPORT_H
#define KESTRUM_TESTS_PAGE_TEST_SUPPORT_H

#include <windows.h>
#include <string>
#include <vector>

struct DrawnText {
    HWND window; /* the window of the context, null for a memory context */
    std::wstring text;
    RECT rect;
    UINT flags;
    COLORREF colour;
    int backgroundMode;
    int height; /* what the text takes in its rectangle, wrapped lines included */
    int right;  /* where its widest line ends */
};

/* Everything drawn since the last ClearDrawnTexts. */
extern std::vector<DrawnText> g_drawnTexts;
void ClearDrawnTexts(void);
/* Routes this program's DrawTextW through the recorder; false if its import
 * could not be found. */
bool RecordDrawnTexts(void);

/* Erases and paints a window and its children now. */
void RedrawNow(HWND window);

#endif
