/*
 * The About box made in this process from Kestrum's own resources and run as
 * the Tools menu runs it: modal, owned by the main window. When its modal loop
 * first goes idle the box is checked (texts, place, colours, pixels) and then
 * closed with its done button.
 */
#include <gtest/gtest.h>
#include <windows.h>
#include <string>

#include "device.h"
#include "platform/main_window_frame.h"
#include "resources/resource.h"
#include "shell/base/shell_state.h"
#include "shell/startup.h"
#include "shell/tools_menu.h"
#include "kestrum_program.h"
#include "main_window_fixture.h"

namespace {

const COLORREF WHITE = RGB(255, 255, 255);
/* What the check inside the modal loop saw. */
struct Seen {
    HWND dialog;
    bool checked;
};
Seen g_seen;
void (*g_check)(HWND dialog);

/* The box's modal loop tells its owner when it has shown the box and has
 * nothing more to do; the check runs then, once, and presses done. */
LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX && g_check) {
        HWND dialog = (HWND)lParam;
        void (*check)(HWND) = g_check;
        g_check = NULL;
        g_seen.dialog = dialog;
        if (GetWindow(dialog, GW_OWNER) == window && IsWindowVisible(dialog)) {
            check(dialog);
            g_seen.checked = true;
        }
        /* The caption's close box is the done button. */
        SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

/* A child control of the dialog by its text (the statics without an id). */
HWND ControlByText(HWND dialog, const wchar_t *text)
{
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        WCHAR t[128] = L"";
        GetWindowTextW(c, t, 128);
        if (lstrcmpW(t, text) == 0)
            return c;
    }
    return NULL;
}

RECT ClientRectOf(HWND dialog, HWND control)
{
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(NULL, dialog, (POINT *)&r, 2);
    return r;
}

bool HasPixel(HDC dc, RECT r, COLORREF colour)
{
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (GetPixel(dc, x, y) == colour)
                return true;
    return false;
}

class AboutBox : public testing::Test {
protected:
    void SetUp() override
    {
        ZeroMemory(&g_shell, sizeof(g_shell));
        g_seen = Seen();
        g_check = NULL;
        g_shell.instance = (HINSTANCE)KestrumResources();
        ASSERT_TRUE(g_shell.instance != NULL);
        BuildShellTexts();
        CreateDrawingObjects();
        ASSERT_TRUE(g_shell.headerStrip != NULL);

        WNDCLASSW wc = {};
        wc.lpfnWndProc = OwnerProc;
        wc.hInstance = GetModuleHandleW(NULL);
        wc.lpszClassName = L"KestrumAboutOwner";
        RegisterClassW(&wc);
        owner = CreateWindowW(L"KestrumAboutOwner", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 240, 294, NULL,
                              NULL, wc.hInstance, NULL);
        ASSERT_TRUE(owner != NULL);
    }
    void TearDown() override
    {
        DestroyWindow(owner);
        PumpMessages();
        ReleaseDrawingObjects();
    }

    /* Runs the box as the Tools menu does, with check called inside it. */
    INT_PTR Run(void (*check)(HWND))
    {
        g_check = check;
        INT_PTR result = ShowAboutBox(owner);
        PumpMessages();
        return result;
    }

    HWND owner = NULL;
};

void CheckTextsAndPlace(HWND dialog)
{
    WCHAR text[32] = L"";
    GetDlgItemTextW(dialog, IDC_ABOUT_VERSION, text, 32);
    EXPECT_STREQ(text, L"v2.0");
    RECT rect, area = PlatformScreenArea();
    GetWindowRect(dialog, &rect);
    EXPECT_TRUE(EqualRect(&rect, &area)) << "full screen: " << rect.left << "," << rect.top << " " << rect.right
                                         << "," << rect.bottom;
    EXPECT_FALSE(GetWindowLongW(dialog, GWL_STYLE) & WS_CAPTION) << "no desktop caption";
    EXPECT_TRUE(GetPropW(dialog, L"HandheldOkButton") != NULL) << "the done button: the bar's ok";
    EXPECT_TRUE(ControlByText(dialog, L"www.tarnwick.example/kestrum") == GetDlgItem(dialog, IDC_ABOUT_WEB));
    EXPECT_TRUE(ControlByText(dialog, L"Copyright (C) 2026 Tarnwick.\nAll rights reserved.") != NULL);
}

void CheckStaticColours(HWND dialog)
{
    HBRUSH white = (HBRUSH)GetStockObject(WHITE_BRUSH);
    struct {
        HWND control;
        COLORREF colour;
    } coloured[] = {
        {GetDlgItem(dialog, IDC_ABOUT_VERSION), ABOUT_VERSION_COLOUR},
        {GetDlgItem(dialog, IDC_ABOUT_WEB), ABOUT_WEB_COLOUR},
    };
    HDC dc = CreateCompatibleDC(NULL);
    for (const auto &c : coloured) {
        SetTextColor(dc, RGB(1, 2, 3));
        SetBkColor(dc, RGB(4, 5, 6));
        EXPECT_EQ((HBRUSH)AboutBoxProc(dialog, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)c.control), white);
        EXPECT_EQ(GetTextColor(dc), c.colour);
        EXPECT_EQ(GetBkColor(dc), WHITE) << "the text sits on white";
    }
    /* The maker line keeps the default colours: answer 0, context untouched. */
    HWND maker = ControlByText(dialog, L"Copyright (C) 2026 Tarnwick.\nAll rights reserved.");
    SetTextColor(dc, RGB(1, 2, 3));
    EXPECT_EQ(AboutBoxProc(dialog, WM_CTLCOLORSTATIC, (WPARAM)dc, (LPARAM)maker), 0);
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
    DeleteDC(dc);

    /* Another command (Escape's cancel) is not the done button. */
    EXPECT_EQ(AboutBoxProc(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0), 0);
    EXPECT_TRUE(IsWindowVisible(dialog));
}

void CheckPixels(HWND dialog)
{
    RedrawWindow(dialog, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC strip = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(strip, g_shell.headerStrip);
    HDC dc = GetDC(dialog);
    RECT client;
    GetClientRect(dialog, &client);

    /* The band repeats strip 117 along the top 30 pixels. */
    for (int x : {1, 120, 230})
        for (int y : {1, 15, 27})
            EXPECT_EQ(GetPixel(dc, x, y), GetPixel(strip, x, y % 4)) << "band at " << x << "," << y;
    /* Its heading in dark blue, right of the band's 30-pixel margin. */
    EXPECT_TRUE(HasPixel(dc, RECT{30, 5, client.right, 29}, ABOUT_VERSION_COLOUR)) << "\"Kestrum\" in the band";
    EXPECT_FALSE(HasPixel(dc, RECT{0, 0, 30, 29}, ABOUT_VERSION_COLOUR)) << "nothing left of the heading";
    /* White body below the band. */
    for (int y : {31, 100, (int)client.bottom - 2})
        EXPECT_EQ(GetPixel(dc, 2, y), WHITE) << "body at 2," << y;

    /* Version and web lines: their colour on white. */
    struct {
        int id;
        COLORREF colour;
    } lines[] = {{IDC_ABOUT_VERSION, ABOUT_VERSION_COLOUR}, {IDC_ABOUT_WEB, ABOUT_WEB_COLOUR}};
    for (const auto &l : lines) {
        RECT r = ClientRectOf(dialog, GetDlgItem(dialog, l.id));
        EXPECT_TRUE(HasPixel(dc, r, l.colour)) << "line " << l.id;
        EXPECT_EQ(GetPixel(dc, r.left, r.top), WHITE) << "line " << l.id << " right-aligned on white";
    }
    ReleaseDC(dialog, dc);
    SelectObject(strip, old);
    DeleteDC(strip);
}

} // namespace

TEST_F(AboutBox, ShowsTheVersionFullScreenAndDoneEndsItWith1)
{
    EXPECT_EQ(Run(CheckTextsAndPlace), 1);
    EXPECT_TRUE(g_seen.checked) << "no About box owned by the main window";
    EXPECT_FALSE(IsWindow(g_seen.dialog)) << "done closes the box";
}

TEST_F(AboutBox, VersionAndWebLinesHaveTheirColoursOnWhite)
{
    EXPECT_EQ(Run(CheckStaticColours), 1);
    EXPECT_TRUE(g_seen.checked);
}

TEST_F(AboutBox, DrawsTheHeaderBandOverAWhiteBody)
{
    EXPECT_EQ(Run(CheckPixels), 1);
    EXPECT_TRUE(g_seen.checked);
}
