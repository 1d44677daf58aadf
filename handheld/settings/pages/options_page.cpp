/*
 * The Options page (dialog 105): one check box per cleaning task. A box
 * changes its task's bit at once, and every command on the page saves the
 * record and resets the pending-task mask so the Progress page shows the
 * new selection as pending.
 */
#include "settings/pages/settings_pages.h"
#include "settings/record/settings_record.h"
#include "shell/base/white_page.h"
#include "engine/cleaning_state.h"
#include "shell/base/help_launcher.h"
#include <prsht.h>

static INT_PTR OptionsPage_OnInitDialog(HWND page)
{
    /* Table order is the order the boxes are set in. */
    for (int i = 0; i < TASK_COUNT; i++)
        SendDlgItemMessageW(page, g_tasks[i].checkbox, BM_SETCHECK,
                            (g_settings.flags & g_tasks[i].bit) ? BST_CHECKED : BST_UNCHECKED, 0);
    return 1;
}

static INT_PTR OptionsPage_OnEraseBkgnd(HWND page)
{
    PaintWhitePage(page, L"Select Cleaning Options");
    LoadPendingTaskMask();
    return 1;
}

static INT_PTR OptionsPage_OnCommand(HWND page, int id)
{
    const CleaningTask *task = TaskOfCheckbox(id);
    if (task) {
        if (SendDlgItemMessageW(page, id, BM_GETCHECK, 0, 0) == BST_CHECKED)
            g_settings.flags |= task->bit;
        else
            g_settings.flags &= ~(DWORD)task->bit;
    }
    LoadPendingTaskMask();
    SaveSettings();
    return 0;
}

INT_PTR CALLBACK OptionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OptionsPage_OnInitDialog(page);
    case WM_ERASEBKGND:
        return OptionsPage_OnEraseBkgnd(page);
    case WM_NOTIFY:
        if (((NMHDR *)lParam)->code == (UINT)PSN_HELP)
            OpenHelp(L"options");
        return 0;
    case WM_COMMAND:
        return OptionsPage_OnCommand(page, LOWORD(wParam));
    }
    return 0;
}
