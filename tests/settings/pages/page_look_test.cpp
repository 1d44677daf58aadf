/*
 * How the pages look: the titles drawn when a page's background is erased;
 * pixel by pixel on a memory context of a page's client size, the header
 * band is the page's strip with a dark line under it, the body white on
 * Options and Settings and the body strip on the Report; and the same read
 * back from the screen after a real erase. The help request of each page
 * opens its own topic.
 */
#include "page_fixture.h"
#include <commctrl.h>
#include <string>

#include "canvas.h"
#include "device.h"
#include "help_capture.h"
#include "resources/resource.h"
#include "settings/pages/report_paint.h"
#include "shell/base/white_page.h"

namespace {

/* The colour a strip brush paints at (x, y) of a context whose origin is the page's. */
COLORREF StripAt(HBITMAP strip, int x, int y)
{
    BITMAP info;
    GetObjectW(strip, sizeof(info), &info);
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ previous = SelectObject(dc, strip);
    COLORREF colour = GetPixel(dc, x % info.bmWidth, y % info.bmHeight);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return colour;
}

const COLORREF WHITE = 0xFFFFFF, BLACK = 0;
const int HEADER_BAND = 30;

class PageLookTest : public PageTest {};

} // namespace

TEST_F(PageLookTest, ErasingOptionsOrSettingsDrawsItsDarkBlueTitleAndReloadsTheMask)
{
    static const struct { int templateId; const wchar_t *title; } pages[] = {
        {IDD_OPTIONS, L"Select Cleaning Options"}, {IDD_SETTINGS, L"Program Settings"}};
    for (auto &p : pages) {
        HWND page = ShowSheetPage(p.templateId);
        g_pendingTasks = 0x8000; /* as a finished run leaves it */
        ClearDrawnTexts();
        RedrawNow(page);
        EXPECT_EQ(g_pendingTasks, (WORD)(DEFAULT_FLAGS & 0xFFFF)) << p.title;
        int titles = 0;
        for (const DrawnText &d : g_drawnTexts) {
            if (d.window != page)
                continue;
            ++titles;
            EXPECT_EQ(d.text, p.title);
            EXPECT_EQ(d.colour, (COLORREF)0x7F0000);
            EXPECT_EQ(d.backgroundMode, TRANSPARENT);
            EXPECT_EQ(d.rect.left, 30);
            EXPECT_EQ(d.rect.top, 5);
            EXPECT_EQ(d.flags, 0x850u);
        }
        EXPECT_EQ(titles, 1) << p.title;
    }
}

TEST_F(PageLookTest, OptionsAndSettingsHaveTheHeaderStripOverAWhiteBody)
{
    static const struct { int templateId; const wchar_t *title; } pages[] = {
        {IDD_OPTIONS, L"Select Cleaning Options"}, {IDD_SETTINGS, L"Program Settings"}};
    for (auto &p : pages) {
        HWND page = ShowSheetPage(p.templateId);
        Canvas canvas(page);
        PaintWhitePageOn(page, canvas.dc, p.title);
        const int bottom = canvas.height - 1, right = canvas.width - 1;
        for (int x : {0, 10, 25}) /* left of the title */
            for (int y : {0, 1, 2, 3, 28}) {
                ASSERT_NE(StripAt(g_shell.headerStrip, x, y), WHITE);
                EXPECT_EQ(canvas.At(x, y), StripAt(g_shell.headerStrip, x, y)) << p.title << " " << x << "," << y;
            }
        EXPECT_EQ(canvas.At(right, 10), StripAt(g_shell.headerStrip, right, 10));
        EXPECT_EQ(canvas.At(0, 29), BLACK) << "the line under the band";
        EXPECT_EQ(canvas.At(right - 1, 29), BLACK);
        for (int y : {30, 31, 100, bottom})
            EXPECT_EQ(canvas.At(2, y), WHITE) << p.title << " y " << y;
        EXPECT_EQ(canvas.At(right, bottom), WHITE);
    }
}

TEST_F(PageLookTest, ReportHasItsOwnStripsAndTitleColour)
{
    HWND page = ShowSheetPage(IDD_REPORT);
    Canvas canvas(page);
    PaintReportOn(page, canvas.dc);
    const int bottom = canvas.height - 1;
    for (int y : {0, 1, 2, 3, 28})
        EXPECT_EQ(canvas.At(10, y), StripAt(g_shell.reportHeaderStrip, 10, y)) << y;
    EXPECT_NE(StripAt(g_shell.reportHeaderStrip, 10, 0), StripAt(g_shell.headerStrip, 10, 0));
    EXPECT_EQ(canvas.At(0, 29), BLACK);
    for (int y : {30, 31, 32, 33, 100, bottom}) {
        ASSERT_NE(StripAt(g_shell.reportBodyStrip, 5, y), WHITE);
        EXPECT_EQ(canvas.At(5, y), StripAt(g_shell.reportBodyStrip, 5, y)) << "body at y " << y;
    }
    /* The title is drawn in dark green: some pixel of its band is exactly that colour. */
    bool green = false;
    for (int x = 30; x < 120 && !green; ++x)
        for (int y = 5; y < 28 && !green; ++y)
            green = canvas.At(x, y) == (COLORREF)0x5000;
    EXPECT_TRUE(green);
    /* Black report text lies in the first line's row. */
    bool text = false;
    for (int x = 20; x < 120 && !text; ++x)
        for (int y = 38; y < 55 && !text; ++y)
            text = canvas.At(x, y) == BLACK;
    EXPECT_TRUE(text);
}

TEST_F(PageLookTest, HelpOnEachPageOpensItsTopic)
{
    InstallHelpCapture();
    static const struct { int templateId; const wchar_t *topic; } pages[] = {
        {IDD_OPTIONS, L"options"}, {IDD_SETTINGS, L"settings"}, {IDD_REPORT, L"report"}};
    for (auto &p : pages) {
        ShowSheetPage(p.templateId);
        ArmHelpCapture();
        SendMessageW(g_shell.sheet, WM_COMMAND, IDHELP, 0);
        EXPECT_EQ(CapturedHelpLine(), L"\"\\Windows\\peghelp.exe\" file:Kestrum.htm#" + std::wstring(p.topic));
    }
    RemoveHelpCapture();
}

TEST_F(PageLookTest, ErasingEachPageShowsItOnTheScreen)
{
    /* What reaches the screen, read back from the page's own window. */
    static const struct { int templateId; HBITMAP *band; HBITMAP *body; } pages[] = {
        {IDD_OPTIONS, &g_shell.headerStrip, NULL},
        {IDD_SETTINGS, &g_shell.headerStrip, NULL},
        {IDD_REPORT, &g_shell.reportHeaderStrip, &g_shell.reportBodyStrip},
    };
    for (auto &p : pages) {
        HWND page = ShowSheetPage(p.templateId);
        RedrawNow(page);
        RECT client;
        GetClientRect(page, &client);
        HDC dc = GetDC(page);
        for (int y : {0, 3, 28})
            EXPECT_EQ(GetPixel(dc, 10, y), StripAt(*p.band, 10, y)) << p.templateId << " band y " << y;
        /* The body strip is white at its left end: look near the right edge,
         * clear of text, wherever no control covers the page. */
        const int x = client.right - 3;
        int looked = 0;
        for (int y = HEADER_BAND + 1; y < client.bottom; y += 3) {
            POINT at = {x, y};
            if (ChildWindowFromPointEx(page, at, CWP_SKIPINVISIBLE) != page)
                continue;
            if (p.body && y >= 38 && y < 221 + 17) /* the report's text rows */
                continue;
            COLORREF body = p.body ? StripAt(*p.body, x, y) : WHITE;
            if (p.body) {
                ASSERT_NE(body, WHITE);
            }
            EXPECT_EQ(GetPixel(dc, x, y), body) << p.templateId << " body y " << y;
            ++looked;
        }
        EXPECT_GT(looked, 8) << p.templateId;
        ReleaseDC(page, dc);
    }
}
