/*
 * The real task-line rule on a memory drawing context: the height it reports
 * for every kind of row, whatever the pending-task mask says, and the run's
 * text colours against the handheld's literal values (red 255, 0, 0 and
 * black), not against the program's own names for them.
 */
#include <gtest/gtest.h>
#include "engine/cleaning_state.h"
#include "settings/record/settings_record.h"
#include "shell/base/page_drawing.h"
#include "shell/progress_page.h"

TEST(TaskLine, HeightForEveryKindOfRow)
{
    HDC dc = CreateCompatibleDC(NULL);
    ASSERT_TRUE(dc != NULL);
    RECT row = { 0, 38, 240, 55 };
    struct Case {
        const char *what;
        DWORD flags;
        WORD pending;
        WORD bit;
        const WCHAR *text;
        int height;
    } cases[] = {
        { "unselected, pending", 0xC07F3, 0xFFFF, 0x4, L"\\My Documents\\Temp", 0 },
        { "unselected, done", 0xC07F3, 0x0000, 0x4, L"\\My Documents\\Temp", 0 },
        { "unselected, no text", 0xC07F3, 0xFFFF, 0x4, NULL, 0 },
        { "selected, pending", 0x4, 0x4, 0x4, L"\\My Documents\\Temp", 17 },
        { "selected, done", 0x4, 0x0, 0x4, L"\\My Documents\\Temp", 17 },
        { "selected, icon only", 0x4, 0x4, 0x4, NULL, 16 },
        { "plain row with text", 0x1, 0x0, 0xFFFF, L"Files deleted: 3", 17 },
        { "plain row without text", 0x1, 0x0, 0xFFFF, NULL, 0 },
        { "plain row, only option bits set", 0xF0000, 0xFFFF, 0xFFFF, L"Files deleted: 3", 0 },
        { "plain row, reserved bit alone", 0x800, 0x0, 0xFFFF, L"Files deleted: 3", 17 },
    };
    for (const Case &c : cases) {
        g_settings.flags = c.flags;
        g_pendingTasks = c.pending;
        EXPECT_EQ(DrawTaskLine(dc, row, c.bit, c.text), c.height) << c.what;
    }
    DeleteDC(dc);
}

/* The run reports a task working, then done (tests/engine); the Progress page
 * draws those lines in these colours. */
TEST(RunColours, EachTaskIsRedWhileItWorksThenBlack)
{
    const COLORREF RED = 0x000000FF;   /* RGB(255, 0, 0) in 0x00BBGGRR */
    const COLORREF BLACK = 0x00000000;
    EXPECT_EQ(TaskLineColour(false), RED);
    EXPECT_EQ(TaskLineColour(true), BLACK);
}
