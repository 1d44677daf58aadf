/*
 * The Settings page in Kestrum's own sheet, driven with real messages: what
 * it shows, what its boxes do, how the edit fields reach the record when the
 * page is left (another tab, the program deactivated or closed), the spin
 * control's range, and the start-up shortcut of "Run at Soft Reset".
 */
#include "page_fixture.h"
#include <commctrl.h>
#include <string>
#include <vector>

#include "device.h"
#include "engine/cleaning_run.h"
#include "quiet_page.h"
#include "engine/cleaning_work.h"
#include "platform/shortcut_file.h"
#include "resources/resource.h"

namespace {

struct Sent {
    int id;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Sent> g_sent;

LRESULT CALLBACK InitHook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT *sent = (const CWPSTRUCT *)lParam;
    if (code == HC_ACTION
        && (sent->message == BM_SETCHECK || sent->message == CCM_SETVERSION || sent->message == UDM_SETRANGE32))
        g_sent.push_back({GetDlgCtrlID(sent->hwnd), sent->message, sent->wParam, sent->lParam});
    return CallNextHookEx(NULL, code, wParam, lParam);
}

std::wstring ItemText(HWND page, int id)
{
    WCHAR text[1024] = {};
    GetDlgItemTextW(page, id, text, 1024);
    return text;
}

const wchar_t STARTUP_SHORTCUT[] = L"\\Windows\\StartUp\\Kestrum.lnk";

/* The start-up shortcut's target for this program, as the handheld names it. */
std::wstring ExpectedShortcutTarget()
{
    WCHAR path[MAX_PATH];
    GetModuleFileNameW(NULL, path, MAX_PATH);
    const WCHAR *name = wcsrchr(path, L'\\') + 1;
    return L"\"\\Tests\\" + std::wstring(name) + L"\" S";
}

class SettingsPageTest : public PageTest {
protected:
    void TearDown() override
    {
        DeleteFileW(STARTUP_SHORTCUT);
        MakeFolders(L"\\Windows\\StartUp");
        PageTest::TearDown();
    }
};

} // namespace

TEST_F(SettingsPageTest, ShowsTheRecordAndLimitsTheArrowsTo0Through999)
{
    g_settings.flags = OPT_RUN_AT_SOFT_RESET | OPT_SOUND_ON | 0x7;
    g_settings.ageLimitDays = 4000000000u; /* shown unsigned */
    wcscpy(g_settings.folder1Path, L"\\My Documents\\One");
    wcscpy(g_settings.folder2Path, L"\\Storage Card\\Two");
    g_sent.clear();
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, InitHook, NULL, GetCurrentThreadId());
    HWND page = ShowSheetPage(IDD_SETTINGS);
    UnhookWindowsHookEx(hook);
    ASSERT_TRUE(page != NULL);

    const Sent expected[] = {
        {1003, BM_SETCHECK, 1, 0}, {1006, BM_SETCHECK, 0, 0}, {1004, BM_SETCHECK, 0, 0},
        {1005, BM_SETCHECK, 1, 0}, {1024, CCM_SETVERSION, 0x20C, 0}, {1024, UDM_SETRANGE32, 0, 999},
    };
    ASSERT_EQ(g_sent.size(), sizeof(expected) / sizeof(expected[0]));
    for (size_t i = 0; i < g_sent.size(); ++i) {
        EXPECT_EQ(g_sent[i].id, expected[i].id) << i;
        EXPECT_EQ(g_sent[i].message, expected[i].message) << i;
        EXPECT_EQ(g_sent[i].wParam, expected[i].wParam) << i;
        EXPECT_EQ(g_sent[i].lParam, expected[i].lParam) << i;
    }
    EXPECT_EQ(ItemText(page, IDC_SETTINGS_FOLDER1), L"\\My Documents\\One");
    EXPECT_EQ(ItemText(page, IDC_SETTINGS_FOLDER2), L"\\Storage Card\\Two");
    EXPECT_EQ(ItemText(page, IDC_SETTINGS_AGE), L"4000000000");
    int low = -1, high = -1;
    SendDlgItemMessageW(page, IDC_SETTINGS_AGE_SPIN, UDM_GETRANGE32, (WPARAM)&low, (LPARAM)&high);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 999);
}

TEST_F(SettingsPageTest, AStoredPathWithoutTerminatorShowsOnly259Characters)
{
    /* A value written from outside may fill the whole field; the next field must not run on. */
    for (int i = 0; i < 260; ++i)
        g_settings.folder1Path[i] = L'a';
    wcscpy(g_settings.folder2Path, L"\\next");
    HWND page = ShowSheetPage(IDD_SETTINGS);
    EXPECT_EQ(ItemText(page, IDC_SETTINGS_FOLDER1), std::wstring(259, L'a'));
    EXPECT_EQ(ItemText(page, IDC_SETTINGS_FOLDER2), L"\\next");
}

TEST_F(SettingsPageTest, ArrowsStayWithin0Through999)
{
    HWND page = ShowSheetPage(IDD_SETTINGS);
    HWND edit = GetDlgItem(page, IDC_SETTINGS_AGE);
    HWND spin = GetDlgItem(page, IDC_SETTINGS_AGE_SPIN);
    ASSERT_EQ((HWND)SendMessageW(spin, UDM_GETBUDDY, 0, 0), edit) << "the field before the spin is its partner";

    /* The arrow keys in the field. */
    static const struct { const wchar_t *start; UINT key; const wchar_t *after; } keys[] = {
        {L"998", VK_UP, L"999"}, {L"1", VK_DOWN, L"0"}, {L"500", VK_UP, L"502"},
    };
    for (auto &k : keys) {
        SetWindowTextW(edit, k.start);
        for (int i = 0; i < 2; ++i) {
            SendMessageW(edit, WM_KEYDOWN, k.key, 0);
            SendMessageW(edit, WM_KEYUP, k.key, 0xC0000001);
        }
        EXPECT_EQ(ItemText(page, IDC_SETTINGS_AGE), k.after) << k.start;
    }

    /* The spin's own arrows clicked: the upper half goes up, the lower half down. */
    RECT r;
    GetClientRect(spin, &r);
    LPARAM up = MAKELPARAM(r.right / 2, 2), down = MAKELPARAM(r.right / 2, r.bottom - 2);
    static const struct { const wchar_t *start; bool upper; const wchar_t *after; } clicks[] = {
        {L"999", true, L"999"}, {L"0", false, L"0"}, {L"10", true, L"12"},
    };
    for (auto &c : clicks) {
        SetWindowTextW(edit, c.start);
        for (int i = 0; i < 2; ++i) {
            SendMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, c.upper ? up : down);
            SendMessageW(spin, WM_LBUTTONUP, 0, c.upper ? up : down);
        }
        EXPECT_EQ(ItemText(page, IDC_SETTINGS_AGE), c.after) << c.start;
    }
    ShowSheetPage(IDD_OPTIONS);
    EXPECT_EQ(g_settings.ageLimitDays, 12u);
}

TEST_F(SettingsPageTest, LeavingForAnotherTabTakesTheFieldsOverAndSaves)
{
    g_settings.ageLimitDays = 14;
    static const struct { const wchar_t *typed; DWORD stored; } days[] = {
        {L"1234", 1234},        /* above the arrows' range: kept as typed */
        {L"", 1234},            /* empty: the old value stays */
        {L"0", 0},
        {L"12345678901", 123456789}, /* nine characters are read */
    };
    for (auto &d : days) {
        HWND page = ShowSheetPage(IDD_SETTINGS);
        SetDlgItemTextW(page, IDC_SETTINGS_AGE, d.typed);
        DeleteStoredSettings();
        ShowSheetPage(IDD_PROGRESS);
        EXPECT_EQ(g_settings.ageLimitDays, d.stored) << d.typed;
        SettingsRecord stored;
        ASSERT_TRUE(StoredSettings(&stored)) << d.typed;
        EXPECT_EQ(stored.ageLimitDays, d.stored);
    }

    HWND page = ShowSheetPage(IDD_SETTINGS);
    std::wstring longPath = L"\\" + std::wstring(299, L'p');
    SetDlgItemTextW(page, IDC_SETTINGS_FOLDER1, longPath.c_str());
    SetDlgItemTextW(page, IDC_SETTINGS_FOLDER2, L" \\Typed/Two\\ ");
    ShowSheetPage(IDD_REPORT);
    EXPECT_EQ(std::wstring(g_settings.folder1Path), longPath.substr(0, 259)) << "cut to 259 characters";
    EXPECT_EQ(std::wstring(g_settings.folder2Path), L" \\Typed/Two\\ ") << "taken as typed";
    SettingsRecord stored;
    ASSERT_TRUE(StoredSettings(&stored));
    EXPECT_EQ(memcmp(&stored, &g_settings, sizeof(stored)), 0);
}

TEST_F(SettingsPageTest, DeactivatingOrClosingTheProgramTakesTheFieldsOver)
{
    ASSERT_TRUE(SetForegroundWindow(main));
    HWND page = ShowSheetPage(IDD_SETTINGS);

    /* Another window becomes the active one. */
    SetDlgItemTextW(page, IDC_SETTINGS_FOLDER1, L"\\Deactivated");
    DeleteStoredSettings();
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, NULL, NULL, NULL, NULL);
    ASSERT_TRUE(SetForegroundWindow(other));
    PumpMessages();
    EXPECT_NE(GetActiveWindow(), main);
    EXPECT_STREQ(g_settings.folder1Path, L"\\Deactivated");
    SettingsRecord stored;
    ASSERT_TRUE(StoredSettings(&stored));
    EXPECT_STREQ(stored.folder1Path, L"\\Deactivated");
    DestroyWindow(other);

    /* The program closed from outside, the page still current. */
    SetDlgItemTextW(page, IDC_SETTINGS_FOLDER2, L"\\Closed");
    SetDlgItemTextW(page, IDC_SETTINGS_AGE, L"77");
    DeleteStoredSettings();
    SendMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(StoredSettings(&stored));
    EXPECT_STREQ(stored.folder2Path, L"\\Closed");
    EXPECT_EQ(stored.ageLimitDays, 77u);
    PumpMessages();
}

TEST_F(SettingsPageTest, OkTakesTheFieldsOverBeforeTheProgramEnds)
{
    HWND page = ShowSheetPage(IDD_SETTINGS);
    SetDlgItemTextW(page, IDC_SETTINGS_FOLDER1, L"\\By ok");
    DeleteStoredSettings();
    SendMessageW(main, WM_COMMAND, 1, 0); /* the title bar's "ok" */
    SettingsRecord stored;
    ASSERT_TRUE(StoredSettings(&stored));
    EXPECT_STREQ(stored.folder1Path, L"\\By ok");
    EXPECT_TRUE(PumpMessages()) << "and the program quits";
}


TEST_F(SettingsPageTest, ATypedPathIsPurgedByTheNextRun)
{
    const FILETIME old = FileTimeFromNow(-3 * 86400.0);
    MakeFile(L"\\My Documents\\Typed1\\old.tmp", 10, old);
    MakeFile(L"\\My Documents\\Typed2\\old.tmp", 20, old);
    MakeFile(L"\\My Documents\\Temp\\old.tmp", 30, old); /* the default folder 1 */

    HWND page = ShowSheetPage(IDD_SETTINGS);
    SetDlgItemTextW(page, IDC_SETTINGS_FOLDER1, L"\\My Documents\\Typed1");
    SetDlgItemTextW(page, IDC_SETTINGS_FOLDER2, L"\\My Documents\\Typed2");
    SetDlgItemTextW(page, IDC_SETTINGS_AGE, L"1");
    /* The user goes to the Progress page to start the run. */
    ShowSheetPage(IDD_PROGRESS);

    g_settings.flags = OPT_FOLDER1 | OPT_FOLDER2;
    LoadPendingTaskMask();
    QuietPageLog log;
    RunCleaning(g_shell.progressPage, QuietPageOps(&log), &CLEANING_WORK);
    EXPECT_FALSE(PathExists(L"\\My Documents\\Typed1\\old.tmp"));
    EXPECT_FALSE(PathExists(L"\\My Documents\\Typed2\\old.tmp"));
    EXPECT_TRUE(PathExists(L"\\My Documents\\Temp\\old.tmp")) << "the old folder 1 is no longer purged";
    EXPECT_EQ(g_stats.filesDeleted, 2);
    RemoveTree(L"\\My Documents\\Typed1");
    RemoveTree(L"\\My Documents\\Typed2");
    DeleteFileW(L"\\My Documents\\Temp\\old.tmp");
}

TEST_F(SettingsPageTest, OptionBoxesSetTheirBitsAndSave)
{
    HWND page = ShowSheetPage(IDD_SETTINGS);
    static const struct { int id; DWORD bit; } boxes[] = {
        {IDC_SETTINGS_KEEP_ACTIVESYNC, OPT_KEEP_ACTIVESYNC},
        {IDC_SETTINGS_SOUND_ON, OPT_SOUND_ON},
        {IDC_SETTINGS_EXIT_WHEN_DONE, OPT_EXIT_WHEN_FINISHED},
    };
    for (auto &b : boxes) {
        for (int round = 0; round < 2; ++round) {
            DWORD before = g_settings.flags;
            DeleteStoredSettings();
            SendDlgItemMessageW(page, b.id, BM_CLICK, 0, 0);
            EXPECT_EQ(g_settings.flags, before ^ b.bit) << b.id;
            SettingsRecord stored;
            ASSERT_TRUE(StoredSettings(&stored)) << b.id;
            EXPECT_EQ(stored.flags, g_settings.flags);
        }
    }
}

TEST_F(SettingsPageTest, OtherCommandsChangeAndSaveNothing)
{
    HWND page = ShowSheetPage(IDD_SETTINGS);
    SetDlgItemTextW(page, IDC_SETTINGS_AGE, L"55");
    SetDlgItemTextW(page, IDC_SETTINGS_FOLDER1, L"\\Not yet");
    DeleteStoredSettings();
    SettingsRecord before = g_settings;
    /* Commands of the edits and of ids that are boxes on the Options page. */
    static const WPARAM commands[] = {MAKEWPARAM(IDC_SETTINGS_FOLDER1, EN_CHANGE), MAKEWPARAM(IDC_SETTINGS_AGE, EN_CHANGE),
                                      MAKEWPARAM(1018, BN_CLICKED), MAKEWPARAM(1009, BN_CLICKED), MAKEWPARAM(9999, 0)};
    for (WPARAM command : commands)
        EXPECT_EQ(SendMessageW(page, WM_COMMAND, command, 0), 0);
    /* Activation, as opposed to deactivation, takes nothing over either. */
    SendMessageW(page, WM_ACTIVATE, WA_ACTIVE, 0);
    SettingsRecord stored;
    EXPECT_FALSE(StoredSettings(&stored)) << "nothing was saved";
    EXPECT_EQ(memcmp(&before, &g_settings, sizeof(before)), 0) << "nothing changed";
}

TEST_F(SettingsPageTest, RunAtSoftResetCreatesAndDeletesTheStartUpShortcut)
{
    HWND page = ShowSheetPage(IDD_SETTINGS);
    DeleteStoredSettings();
    SendDlgItemMessageW(page, IDC_SETTINGS_RUN_AT_RESET, BM_CLICK, 0, 0);
    EXPECT_TRUE(g_settings.flags & OPT_RUN_AT_SOFT_RESET);
    WCHAR target[300] = {};
    ASSERT_TRUE(PlatformReadShortcutTarget(STARTUP_SHORTCUT, target, 300));
    EXPECT_EQ(std::wstring(target), ExpectedShortcutTarget());
    SettingsRecord stored;
    ASSERT_TRUE(StoredSettings(&stored));
    EXPECT_EQ(stored.flags, g_settings.flags);

    SendDlgItemMessageW(page, IDC_SETTINGS_RUN_AT_RESET, BM_CLICK, 0, 0);
    EXPECT_FALSE(g_settings.flags & OPT_RUN_AT_SOFT_RESET);
    EXPECT_FALSE(PathExists(STARTUP_SHORTCUT));
    ASSERT_TRUE(StoredSettings(&stored));
    EXPECT_EQ(stored.flags, g_settings.flags);
}

TEST_F(SettingsPageTest, WithoutAStartUpFolderTheBitStillFollowsTheBox)
{
    RemoveTree(L"\\Windows\\StartUp");
    HWND page = ShowSheetPage(IDD_SETTINGS);
    DeleteStoredSettings();
    SendDlgItemMessageW(page, IDC_SETTINGS_RUN_AT_RESET, BM_CLICK, 0, 0);
    EXPECT_TRUE(g_settings.flags & OPT_RUN_AT_SOFT_RESET);
    EXPECT_EQ(IsDlgButtonChecked(page, IDC_SETTINGS_RUN_AT_RESET), 1u);
    SettingsRecord stored;
    ASSERT_TRUE(StoredSettings(&stored));
    EXPECT_TRUE(stored.flags & OPT_RUN_AT_SOFT_RESET);
    EXPECT_FALSE(PathExists(L"\\Windows\\StartUp")) << "the folder is not made";
    EXPECT_FALSE(PathExists(L"\\Kestrum.lnk"));

    DeleteStoredSettings();
    SendDlgItemMessageW(page, IDC_SETTINGS_RUN_AT_RESET, BM_CLICK, 0, 0);
    EXPECT_FALSE(g_settings.flags & OPT_RUN_AT_SOFT_RESET);
    ASSERT_TRUE(StoredSettings(&stored));
    EXPECT_FALSE(stored.flags & OPT_RUN_AT_SOFT_RESET);
}
