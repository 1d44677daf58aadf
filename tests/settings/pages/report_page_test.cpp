/*
 * The Report page in Kestrum's own sheet: what it draws each time its
 * background is erased (texts, places, colours, taken from the calls to
 * DrawTextW), and what the procedure answers.
 */
#include "page_fixture.h"
#include <commctrl.h>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "settings/pages/report_paint.h"
#include "settings/pages/settings_pages.h"

namespace {

const int LINE_TOPS[10] = {38, 65, 82, 99, 126, 143, 160, 177, 204, 221};

class ReportPageTest : public PageTest {
protected:
    /* The texts drawn on the Report page by one erase of its background. */
    std::vector<DrawnText> Repaint()
    {
        HWND page = ShowSheetPage(IDD_REPORT);
        ClearDrawnTexts();
        RedrawNow(page);
        std::vector<DrawnText> drawn;
        for (const DrawnText &d : g_drawnTexts)
            if (d.window == page)
                drawn.push_back(d);
        return drawn;
    }
};

/* The handheld's C runtime rounds a half hundredth up (2986.625 shows as
 * 2986.63), where the test program's own formatter would round it to even:
 * the figure is rounded here explicitly. Free space comes in 1/256 MB steps,
 * so such halves do occur. */
std::wstring MemoryLine(double megabytes)
{
    long long hundredths = (long long)(megabytes * 100.0 + 0.5);
    WCHAR text[64];
    swprintf(text, 64, L"Memory available:\t%lld.%02lld MB", hundredths / 100, hundredths % 100);
    return text;
}

} // namespace

TEST_F(ReportPageTest, BeforeAnyRunShowsZerosAndTheStartUpMemoryReading)
{
    ASSERT_GT(g_stats.memoryAvailableMB, 0.0) << "the device reports free storage";
    std::vector<DrawnText> drawn = Repaint();
    const std::wstring expected[11] = {
        L"Report",
        L"Tasks performed:\t\t0", L"Applications closed:\t\t0", L"Dead registry keys deleted:\t0",
        L"Dead shortcuts deleted:\t0", L"Folders scanned:\t\t0", L"Temporary folders deleted:\t0",
        L"Temporary files deleted:\t0", L"Files used by system:\t\t0", L"Total bytes reclaimed:  0",
        MemoryLine(g_stats.memoryAvailableMB),
    };
    ASSERT_EQ(drawn.size(), 11u);
    RECT client;
    GetClientRect(CurrentPage(), &client);

    EXPECT_EQ(drawn[0].text, expected[0]);
    EXPECT_EQ(drawn[0].colour, (COLORREF)0x5000) << "dark green title";
    EXPECT_EQ(drawn[0].rect.left, 30);
    EXPECT_EQ(drawn[0].rect.top, 5);
    for (int i = 1; i <= 10; ++i) {
        const DrawnText &d = drawn[i];
        EXPECT_EQ(d.text, expected[i]) << "line " << i;
        EXPECT_EQ(d.rect.top, LINE_TOPS[i - 1]) << "line " << i;
        EXPECT_EQ(d.rect.left, 20) << "line " << i;
        EXPECT_EQ(d.rect.right, client.right);
        EXPECT_EQ(d.rect.bottom, client.bottom);
        EXPECT_EQ(d.flags, 0x850u);
        EXPECT_EQ(d.colour, (COLORREF)0) << "black";
        EXPECT_EQ(d.backgroundMode, TRANSPARENT);
        /* The emulated store is the host's disk, whose free space can read up
         * to 4096 MB; a handheld's figure (under 1000 MB) fits its row. */
        if (i == 10 && g_stats.memoryAvailableMB >= 1000.0)
            continue;
        EXPECT_LE(d.height, 17) << "line " << i << " fits its row on the handheld's screen";
        EXPECT_LE(d.right, d.rect.right) << "line " << i << " shows its figure";
    }
}

TEST_F(ReportPageTest, MemoryFigureRoundsHalfHundredthsUp)
{
    static const struct { double megabytes; const wchar_t *line; } readings[] = {
        {2986.625, L"Memory available:\t2986.63 MB"},
        {12.375, L"Memory available:\t12.38 MB"},
        {31.99609375, L"Memory available:\t32.00 MB"},
        {0.0, L"Memory available:\t0.00 MB"},
    };
    for (auto &r : readings) {
        g_stats.memoryAvailableMB = r.megabytes;
        std::vector<DrawnText> drawn = Repaint();
        ASSERT_EQ(drawn.size(), 11u);
        EXPECT_EQ(drawn[10].text, r.line);
        EXPECT_EQ(MemoryLine(r.megabytes), r.line);
    }
}

TEST_F(ReportPageTest, NoTaskSelectedDrawsOnlyTheTitle)
{
    g_settings.flags &= ~0xFFFFu;
    g_stats.tasksPerformed = 5;
    std::vector<DrawnText> drawn = Repaint();
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].text, L"Report");

    /* Any selected task brings the lines back, the hidden Reserved one included. */
    g_settings.flags |= OPT_RESERVED;
    EXPECT_EQ(Repaint().size(), 11u);
}

TEST_F(ReportPageTest, ARunsFiguresAppearInTheirLines)
{
    g_stats.tasksPerformed = 2;
    g_stats.applicationsClosed = 3;
    g_stats.bytesReclaimed = 0x80000000u; /* 2^31 */
    g_stats.filesDeleted = 7;
    g_stats.memoryAvailableMB = 1.005;
    std::vector<DrawnText> drawn = Repaint();
    ASSERT_EQ(drawn.size(), 11u);
    EXPECT_EQ(drawn[1].text, L"Tasks performed:\t\t2");
    EXPECT_EQ(drawn[2].text, L"Applications closed:\t\t3");
    EXPECT_EQ(drawn[2].rect.top - drawn[1].rect.top, 27) << "17 pixels of line and the 10-pixel gap";
    EXPECT_EQ(drawn[7].text, L"Temporary files deleted:\t7");
    EXPECT_EQ(drawn[9].text, L"Total bytes reclaimed:  -2147483648") << "printed signed";
    EXPECT_EQ(drawn[10].text, MemoryLine(1.005));

    /* Figures change between runs: each erase paints them afresh. */
    g_stats.bytesReclaimed = 4096;
    drawn = Repaint();
    ASSERT_EQ(drawn.size(), 11u);
    EXPECT_EQ(drawn[9].text, L"Total bytes reclaimed:  4096");
}

TEST_F(ReportPageTest, ProcedureAnswers)
{
    HWND page = ShowSheetPage(IDD_REPORT);
    NMHDR other = {page, 0, (UINT)PSN_SETACTIVE};
    EXPECT_EQ(ReportPageProc(page, WM_INITDIALOG, 0, 0), 1);
    EXPECT_EQ(ReportPageProc(page, WM_ERASEBKGND, 0, 0), 1) << "the background is handled";
    EXPECT_EQ(ReportPageProc(page, WM_NOTIFY, 0, (LPARAM)&other), 0);
    EXPECT_EQ(ReportPageProc(page, WM_COMMAND, 1, 0), 0);
    EXPECT_EQ(ReportPageProc(page, WM_PAINT, 0, 0), 0);
}
