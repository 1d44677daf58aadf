/*
 * The main window, its menu bar and its sheet, made in this process from
 * Kestrum's own resources and driven with real messages: what each page
 * receives is recorded (in the manner of Wine's message tests), messages are
 * pumped before anything is checked.
 */
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <vector>

#include "device.h"
#include "engine/cleaning_state.h"
#include "platform/menu_bar.h"
#include "platform/property_sheet.h"
#include "resources/resource.h"
#include "settings/record/settings_record.h"
#include "shell/main_window.h"
#include "shell/sheet.h"
#include "shell/base/shell_state.h"
#include "kestrum_program.h"
#include "main_window_fixture.h"
#include "message_recorder.h"
#include "settings_store.h"

namespace {

class MainWindowTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        ForgetSeenMessages();
        MainWindowFixture::SetUp();
    }
};

} // namespace

TEST_F(MainWindowTest, SheetHasFourTitledPagesWithProgressCurrentAndKnown)
{
    ASSERT_TRUE(g_shell.sheet != NULL);
    HWND tab = (HWND)SendMessageW(g_shell.sheet, PSM_GETTABCONTROL, 0, 0);
    ASSERT_EQ(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), 4);
    static const wchar_t *titles[] = {L"Progress", L"Options", L"Settings", L"Report"};
    for (int i = 0; i < 4; ++i) {
        WCHAR text[32] = {};
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 32;
        SendMessageW(tab, TCM_GETITEMW, i, (LPARAM)&item);
        EXPECT_STREQ(text, titles[i]);
    }
    /* The Progress page exists as soon as the window does: the auto-start command's target. */
    ASSERT_TRUE(g_shell.progressPage != NULL);
    EXPECT_EQ(CurrentPage(), g_shell.progressPage);
    EXPECT_EQ(CurrentIndex(), 0);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(g_shell.progressPage, IDC_PROGRESS_BAR)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(g_shell.progressPage, IDC_PROGRESS_START)));
    EXPECT_EQ(g_pendingTasks, (WORD)(g_settings.flags & 0xFFFF));
}

TEST_F(MainWindowTest, SheetIsAFramelessChildFillingTheWindowWithBottomTabsAndNoButtons)
{
    HWND sheet = g_shell.sheet;
    EXPECT_EQ(GetParent(sheet), main);
    LONG style = GetWindowLongW(sheet, GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_FALSE(style & (WS_POPUP | WS_CAPTION | WS_THICKFRAME));
    EXPECT_TRUE(IsWindowVisible(sheet));

    RECT mainClient, sheetRect;
    GetClientRect(main, &mainClient);
    GetWindowRect(sheet, &sheetRect);
    MapWindowPoints(NULL, main, (POINT *)&sheetRect, 2);
    EXPECT_TRUE(EqualRect(&mainClient, &sheetRect));

    HWND tab = (HWND)SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0);
    EXPECT_TRUE(GetWindowLongW(tab, GWL_STYLE) & TCS_BOTTOM);
    RECT item, page;
    SendMessageW(tab, TCM_GETITEMRECT, 0, (LPARAM)&item);
    MapWindowPoints(tab, sheet, (POINT *)&item, 2);
    GetWindowRect(g_shell.progressPage, &page);
    MapWindowPoints(NULL, sheet, (POINT *)&page, 2);
    EXPECT_GT(item.top, mainClient.bottom * 3 / 4) << "the tabs sit along the bottom";
    EXPECT_LE(page.bottom, item.top) << "the page ends above the tabs";
    EXPECT_LT(page.top, 8) << "the page starts at the top";

    for (int id : {IDOK, IDCANCEL, 0x3021, IDHELP}) {
        HWND button = GetDlgItem(sheet, id);
        if (button) {
            EXPECT_FALSE(IsWindowVisible(button)) << id;
            EXPECT_FALSE(IsWindowEnabled(button)) << id;
        }
    }
}

TEST_F(MainWindowTest, WindowFillsTheScreenWithTitleAndMenuBarBelowIt)
{
    WCHAR title[32];
    GetWindowTextW(main, title, 32);
    EXPECT_STREQ(title, L"Kestrum");
    RECT rect, area;
    GetWindowRect(main, &rect);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    area.top += 26; /* the navigation bar's strip at the top of the screen */
    EXPECT_TRUE(EqualRect(&rect, &area));
    LONG style = GetWindowLongW(main, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME), 0) << "no desktop caption";
    EXPECT_TRUE(GetPropW(main, L"HandheldOkButton") != NULL) << "the navigation bar shows ok for it";
    EXPECT_EQ(GetWindowLongW(main, GWL_EXSTYLE) & 0x80000000, 0) << "the handheld style bit stays on the handheld";

    ASSERT_TRUE(g_shell.menuBar != NULL);
    EXPECT_TRUE(IsWindowVisible(g_shell.menuBar)) << "shown with the window";
    RECT bar;
    GetWindowRect(g_shell.menuBar, &bar);
    EXPECT_EQ(bar.left, area.left);
    EXPECT_EQ(bar.right, area.right);
    EXPECT_EQ(bar.bottom, area.bottom);
    EXPECT_EQ(bar.bottom - bar.top, 26);
    EXPECT_EQ(GetWindow(g_shell.menuBar, GW_OWNER), main);

    HWND toolbar = FindWindowExW(g_shell.menuBar, NULL, TOOLBARCLASSNAMEW, NULL);
    ASSERT_TRUE(toolbar != NULL);
    ASSERT_EQ(SendMessageW(toolbar, TB_BUTTONCOUNT, 0, 0), 1);
    TBBUTTON button = {};
    SendMessageW(toolbar, TB_GETBUTTON, 0, (LPARAM)&button);
    EXPECT_EQ(button.idCommand, IDM_TOOLS);
    EXPECT_EQ(button.fsStyle, 0x18);
    EXPECT_TRUE(button.fsState & TBSTATE_ENABLED);
    WCHAR label[16] = {};
    SendMessageW(toolbar, TB_GETBUTTONTEXTW, IDM_TOOLS, (LPARAM)label);
    EXPECT_STREQ(label, L"Tools");
}

/* A bar made while its owner is still hidden (the main window makes its bar
 * during its own creation) appears with the owner, not before it; a bar for
 * a window already shown appears at once. */
TEST(MenuBar, AppearsWithItsOwner)
{
    for (bool ownerShown : {false, true}) {
        SCOPED_TRACE(ownerShown ? "owner shown first" : "owner hidden");
        HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | (ownerShown ? WS_VISIBLE : 0), 0, 26,
                                     240, 268, NULL, NULL, NULL, NULL);
        ASSERT_TRUE(owner != NULL);
        MenuBarInfo info = {};
        info.size = sizeof(info);
        info.parent = owner;
        info.menuBarId = IDR_MENUBAR;
        info.resourceInstance = KestrumResources();
        ASSERT_TRUE(PlatformCreateMenuBar(&info));
        EXPECT_EQ(IsWindowVisible(info.menuBar) != 0, ownerShown);
        ShowWindow(owner, SW_SHOWNOACTIVATE);
        EXPECT_TRUE(IsWindowVisible(info.menuBar));
        ShowWindow(info.menuBar, SW_HIDE);
        SetWindowPos(owner, NULL, 0, 26, 240, 200, SWP_NOZORDER | SWP_NOACTIVATE);
        EXPECT_FALSE(IsWindowVisible(info.menuBar)) << "only the owner's first show shows the bar";
        DestroyWindow(info.menuBar);
        DestroyWindow(owner);
    }
}

TEST_F(MainWindowTest, ToolsButtonDropsThePopupAndTheChoiceReachesTheMainWindow)
{
    static const struct { UINT key; int presses; UINT command; } choices[] = {
        {VK_DOWN, 1, IDM_SOFT_RESET}, {VK_DOWN, 2, IDM_POWER_OFF}, {VK_DOWN, 3, IDM_CLOSE_ALL}, {VK_UP, 1, IDM_ABOUT}};
    HWND toolbar = FindWindowExW(g_shell.menuBar, NULL, TOOLBARCLASSNAMEW, NULL);
    ASSERT_TRUE(toolbar != NULL);
    /* The commands are kept from the main window: Soft Reset and Power Off
     * would otherwise act on the test process itself. */
    RecordMessages(main, {WM_COMMAND}, true);
    for (auto &choice : choices) {
        ForgetSeenMessages();
        RECT button;
        SendMessageW(toolbar, TB_GETRECT, IDM_TOOLS, (LPARAM)&button);
        /* The keys wait in the queue for the popup's own message loop. */
        for (int i = 0; i < choice.presses; ++i)
            PostMessageW(main, WM_KEYDOWN, choice.key, 0);
        PostMessageW(main, WM_KEYDOWN, VK_RETURN, 0);
        SendMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(button.left + 4, button.top + 4));
        SendMessageW(toolbar, WM_LBUTTONUP, 0, MAKELPARAM(button.left + 4, button.top + 4));
        PumpMessages();
        EXPECT_TRUE(SeenSequence(main, {{WM_COMMAND, choice.command, 0}}))
            << "key " << choice.key << " x" << choice.presses;
    }
    StopRecording(main);
}

TEST_F(MainWindowTest, ShowPageSwitchesBeforeItReturns)
{
    static const struct { int templateId, index; } pages[] = {{106, 3}, {108, 2}, {105, 1}, {104, 0}};
    for (auto &p : pages) {
        ShowPage(p.templateId);
        EXPECT_EQ(CurrentIndex(), p.index) << p.templateId;
    }
    /* A page made on its first show fills the display area above the bottom tabs too. */
    ShowPage(106);
    RECT report, progress;
    GetWindowRect(CurrentPage(), &report);
    GetWindowRect(g_shell.progressPage, &progress);
    EXPECT_TRUE(EqualRect(&report, &progress));
}

TEST_F(MainWindowTest, APageThatIsLeftIsToldItWasDeactivated)
{
    ShowPage(108);
    HWND settings = CurrentPage();
    RecordMessages(settings, {WM_ACTIVATE, WM_NOTIFY, WM_HELP});
    ShowPage(105);
    EXPECT_EQ(CountSeen(settings, WM_NOTIFY, 0, PSN_KILLACTIVE), 1);
    EXPECT_EQ(CountSeen(settings, WM_ACTIVATE, WA_INACTIVE), 1);

    /* The main window losing activation, and its closing, reach the current page. */
    HWND options = CurrentPage();
    RecordMessages(options, {WM_ACTIVATE, WM_NOTIFY, WM_HELP});
    SendMessageW(main, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(CountSeen(options, WM_ACTIVATE, WA_INACTIVE), 1);
    SendMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(CountSeen(options, WM_ACTIVATE, WA_INACTIVE), 2);
    EXPECT_EQ(CountSeen(settings, WM_ACTIVATE, WA_INACTIVE), 1) << "only the current page";
}

TEST_F(MainWindowTest, OkSavesTheSettingsThenClosesAndQuits)
{
    /* The handheld's "ok" (command 1) and the desktop's close box that stands for it. */
    static const struct { UINT message; WPARAM wParam; } oks[] = {{WM_COMMAND, 1}, {WM_SYSCOMMAND, SC_CLOSE}};
    for (auto &ok : oks) {
        SCOPED_TRACE(testing::Message() << "message " << ok.message);
        TearDown();
        SetUp();
        DeleteStoredSettings();
        g_settings.ageLimitDays = 4321;
        HWND bar = g_shell.menuBar;
        SendMessageW(main, ok.message, ok.wParam, 0);
        SettingsRecord stored;
        ASSERT_TRUE(StoredSettings(&stored)) << "ok writes the record";
        EXPECT_EQ(memcmp(&stored, &g_settings, sizeof(stored)), 0);
        EXPECT_FALSE(IsWindow(bar));
        EXPECT_EQ(g_shell.menuBar, (HWND)NULL);
        EXPECT_TRUE(IsWindow(main)) << "the window goes only at clean-up";
        EXPECT_TRUE(PumpMessages()) << "the quit message is posted";
    }
}

TEST_F(MainWindowTest, CloseAloneQuitsWithoutSaving)
{
    DeleteStoredSettings();
    HWND bar = g_shell.menuBar;
    EXPECT_EQ(SendMessageW(main, WM_CLOSE, 0, 0), 0);
    SettingsRecord stored;
    EXPECT_FALSE(StoredSettings(&stored));
    EXPECT_FALSE(IsWindow(bar));
    EXPECT_TRUE(IsWindow(main));
    EXPECT_TRUE(PumpMessages());
}

TEST_F(MainWindowTest, DeactivationSavesAndActivationDoesNot)
{
    DeleteStoredSettings();
    SendMessageW(main, WM_ACTIVATE, WA_ACTIVE, 0);
    SettingsRecord stored;
    EXPECT_FALSE(StoredSettings(&stored));
    g_settings.flags ^= OPT_SOUND_ON;
    SendMessageW(main, WM_ACTIVATE, WA_INACTIVE, 0);
    ASSERT_TRUE(StoredSettings(&stored));
    EXPECT_EQ(stored.flags, g_settings.flags);
}

TEST_F(MainWindowTest, EscapeNeverEndsTheSheet)
{
    HWND sheet = g_shell.sheet;
    RecordMessages(g_shell.progressPage, {WM_ACTIVATE, WM_NOTIFY, WM_HELP});
    SendMessageW(sheet, WM_COMMAND, IDCANCEL, 0);
    SendMessageW(sheet, WM_CLOSE, 0, 0);
    SendMessageW(sheet, WM_SYSCOMMAND, SC_CLOSE, 0);
    /* The Escape key itself, through the dialog keyboard handling. */
    HWND start = GetDlgItem(g_shell.progressPage, IDC_PROGRESS_START);
    SetFocus(start);
    PostMessageW(start, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    MSG message;
    while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE))
        if (!IsDialogMessageW(sheet, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    EXPECT_TRUE(IsWindow(sheet));
    EXPECT_TRUE(IsWindowVisible(sheet));
    EXPECT_EQ(CurrentPage(), g_shell.progressPage);
    EXPECT_EQ(CountSeen(g_shell.progressPage, WM_NOTIFY, 0, PSN_RESET), 0) << "the pages were not cancelled";
}

TEST_F(MainWindowTest, HelpReachesTheCurrentPageAsCodeMinus205)
{
    RecordMessages(g_shell.progressPage, {WM_ACTIVATE, WM_NOTIFY, WM_HELP});
    SendMessageW(g_shell.sheet, WM_COMMAND, IDHELP, 0);
    EXPECT_EQ(CountSeen(g_shell.progressPage, WM_NOTIFY, 0, -205), 1);

    /* The F1 key pressed while a control of the page has the focus. Real
     * input needs the keyboard focus: each test program is alone on its
     * device's own X server, so nothing else can take it. */
    ASSERT_TRUE(SetForegroundWindow(main));
    HWND start = GetDlgItem(g_shell.progressPage, IDC_PROGRESS_START);
    SetFocus(start);
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_F1;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(SendInput(2, keys, sizeof(INPUT)), 2u);
    PumpMessages();
    EXPECT_EQ(CountSeen(g_shell.progressPage, WM_NOTIFY, 0, -205), 2);

    ShowPage(106);
    HWND report = CurrentPage();
    RecordMessages(report, {WM_ACTIVATE, WM_NOTIFY, WM_HELP});
    SendMessageW(g_shell.sheet, WM_COMMAND, IDHELP, 0);
    EXPECT_EQ(CountSeen(report, WM_NOTIFY, 0, -205), 1);
    EXPECT_EQ(CountSeen(g_shell.progressPage, WM_NOTIFY, 0, -205), 2) << "only the current page is asked";
}
