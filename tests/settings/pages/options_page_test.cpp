/*
 * The Options page in Kestrum's own sheet, driven with real messages: its
 * boxes show the record, a click changes the task's bit, saves the whole
 * record at once and resets the pending-task mask, and any other command
 * saves too.
 */
#include "page_fixture.h"
#include <commctrl.h>
#include <vector>

#include "resources/resource.h"

namespace {

/* Check boxes set during the page's initialisation, in order. */
std::vector<std::pair<int, WPARAM>> g_setChecks;

LRESULT CALLBACK SetCheckHook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT *sent = (const CWPSTRUCT *)lParam;
    if (code == HC_ACTION && sent->message == BM_SETCHECK)
        g_setChecks.push_back({GetDlgCtrlID(sent->hwnd), sent->wParam});
    return CallNextHookEx(NULL, code, wParam, lParam);
}

const int OPTIONS_BOXES[TASK_COUNT] = {1009, 1003, 1012, 1018, 1004, 1011, 1008, 1016, 1015, 1013, 1014, 1010};
const DWORD OPTIONS_BITS[TASK_COUNT] = {0x1, 0x2, 0x4, 0x8, 0x10, 0x20, 0x40, 0x80, 0x100, 0x200, 0x400, 0x800};

class OptionsPageTest : public PageTest {};

} // namespace

TEST_F(OptionsPageTest, BoxesShowTheRecordAndAreSetInTableOrder)
{
    g_settings.flags = 0xFFF00000 | 0x0A5A | OPT_SOUND_ON; /* alternate tasks, Reserved included */
    g_setChecks.clear();
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, SetCheckHook, NULL, GetCurrentThreadId());
    HWND page = ShowSheetPage(IDD_OPTIONS);
    UnhookWindowsHookEx(hook);
    ASSERT_TRUE(page != NULL);

    ASSERT_EQ(g_setChecks.size(), (size_t)TASK_COUNT);
    for (int i = 0; i < TASK_COUNT; ++i) {
        EXPECT_EQ(g_setChecks[i].first, OPTIONS_BOXES[i]) << "box " << i;
        EXPECT_EQ(g_setChecks[i].second, (WPARAM)((0x0A5A & OPTIONS_BITS[i]) ? 1 : 0)) << OPTIONS_BOXES[i];
        EXPECT_EQ(IsDlgButtonChecked(page, OPTIONS_BOXES[i]), (0x0A5A & OPTIONS_BITS[i]) ? 1u : 0u);
    }
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, IDC_OPTIONS_RESERVED)));
}

TEST_F(OptionsPageTest, TickingFolder2SetsItsBitSavesAtOnceAndReloadsTheMask)
{
    HWND page = ShowSheetPage(IDD_OPTIONS);
    ASSERT_EQ(g_settings.flags, (DWORD)DEFAULT_FLAGS);
    DeleteStoredSettings();
    g_pendingTasks = 0x8000; /* as a finished run leaves it */

    SendDlgItemMessageW(page, IDC_OPTIONS_FOLDER2, BM_CLICK, 0, 0);
    EXPECT_EQ(g_settings.flags, (DWORD)DEFAULT_FLAGS | OPT_FOLDER2);
    SettingsRecord stored;
    ASSERT_TRUE(StoredSettings(&stored)) << "the 1048-byte value is written by the click";
    EXPECT_EQ(memcmp(&stored, &g_settings, sizeof(stored)), 0);
    EXPECT_EQ(g_pendingTasks, (WORD)((DEFAULT_FLAGS | OPT_FOLDER2) & 0xFFFF));

    SendDlgItemMessageW(page, IDC_OPTIONS_FOLDER2, BM_CLICK, 0, 0);
    EXPECT_EQ(g_settings.flags, (DWORD)DEFAULT_FLAGS);
    ASSERT_TRUE(StoredSettings(&stored));
    EXPECT_EQ(stored.flags, (DWORD)DEFAULT_FLAGS);
}

TEST_F(OptionsPageTest, EveryBoxDrivesOnlyItsOwnBit)
{
    HWND page = ShowSheetPage(IDD_OPTIONS);
    for (int i = 0; i < TASK_COUNT; ++i) {
        DWORD before = g_settings.flags;
        /* The hidden Reserved box cannot be clicked; its command is sent as a click would. */
        CheckDlgButton(page, OPTIONS_BOXES[i], (before & OPTIONS_BITS[i]) ? BST_UNCHECKED : BST_CHECKED);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(OPTIONS_BOXES[i], BN_CLICKED),
                     (LPARAM)GetDlgItem(page, OPTIONS_BOXES[i]));
        EXPECT_EQ(g_settings.flags, before ^ OPTIONS_BITS[i]) << OPTIONS_BOXES[i];
    }
    EXPECT_EQ(g_settings.flags, (DWORD)DEFAULT_FLAGS ^ 0xFFF);
    /* A box in its third state counts as not ticked. */
    SendDlgItemMessageW(page, IDC_OPTIONS_IE_CACHE, BM_SETSTYLE, BS_3STATE, 0);
    CheckDlgButton(page, IDC_OPTIONS_IE_CACHE, BST_INDETERMINATE);
    g_settings.flags |= OPT_IE_CACHE;
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_OPTIONS_IE_CACHE, BN_CLICKED), 0);
    EXPECT_EQ(g_settings.flags & OPT_IE_CACHE, 0u);
}

TEST_F(OptionsPageTest, AnyOtherCommandStillSavesAndReloadsTheMask)
{
    HWND page = ShowSheetPage(IDD_OPTIONS);
    static const WPARAM commands[] = {MAKEWPARAM(1001, BN_CLICKED), MAKEWPARAM(9999, 0), MAKEWPARAM(IDOK, 1)};
    for (WPARAM command : commands) {
        DeleteStoredSettings();
        g_pendingTasks = 0;
        EXPECT_EQ(SendMessageW(page, WM_COMMAND, command, 0), 0);
        SettingsRecord stored;
        ASSERT_TRUE(StoredSettings(&stored)) << LOWORD(command);
        EXPECT_EQ(stored.flags, (DWORD)DEFAULT_FLAGS);
        EXPECT_EQ(g_pendingTasks, (WORD)(DEFAULT_FLAGS & 0xFFFF));
    }
}
