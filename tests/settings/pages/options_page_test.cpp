/*
 * The Options page in Kestrum's own sheet, driven with real messages: its
 * boxes show the record, a click changes the task's bit, saves the whole
 * record at once and resets the pending-task mask, and any other command
 * saves too.
 */
#include "page_fixture.h"
#include <algorithm>
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

/* The ids of the page's boxes from top to bottom, where the user sees the
 * tasks in their order: the box in row i drives bit i of the flags. */
std::vector<int> BoxesTopToBottom(HWND page)
{
    std::vector<std::pair<LONG, int>> boxes;
    for (HWND box = GetWindow(page, GW_CHILD); box; box = GetWindow(box, GW_HWNDNEXT)) {
        RECT rect;
        GetWindowRect(box, &rect);
        boxes.push_back({rect.top, GetDlgCtrlID(box)});
    }
    std::sort(boxes.begin(), boxes.end());
    std::vector<int> ids;
    for (const auto &box : boxes)
        ids.push_back(box.second);
    return ids;
}

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

    std::vector<int> boxes = BoxesTopToBottom(page);
    ASSERT_EQ(boxes.size(), 12u);
    ASSERT_EQ(g_setChecks.size(), 12u);
    for (int i = 0; i < 12; ++i) {
        bool ticked = (0x0A5A >> i) & 1;
        EXPECT_EQ(g_setChecks[i].first, boxes[i]) << "row " << i;
        EXPECT_EQ(g_setChecks[i].second, (WPARAM)ticked) << "row " << i;
        EXPECT_EQ(IsDlgButtonChecked(page, boxes[i]), (UINT)ticked) << "row " << i;
    }
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, boxes[11]))) << "the last, Reserved, is hidden";
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
    std::vector<int> boxes = BoxesTopToBottom(page);
    ASSERT_EQ(boxes.size(), 12u);
    for (int i = 0; i < 12; ++i) {
        DWORD before = g_settings.flags, bit = 1u << i;
        /* The hidden Reserved box cannot be clicked; its command is sent as a click would. */
        CheckDlgButton(page, boxes[i], (before & bit) ? BST_UNCHECKED : BST_CHECKED);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(boxes[i], BN_CLICKED), (LPARAM)GetDlgItem(page, boxes[i]));
        EXPECT_EQ(g_settings.flags, before ^ bit) << "row " << i;
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
