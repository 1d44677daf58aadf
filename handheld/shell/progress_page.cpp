/*
 * The Progress page (dialog 104). So far it handles its initialisation:
 * the page makes itself known to the shell (start-up sends the auto-start
 * command here), hides the progress bar, enables Start and loads the
 * pending-task mask. Painting, Start, apply and help are not built yet and
 * answer 0 like every other message.
 */
#include "shell/progress_page.h"
#include "shell/shell_state.h"
#include "engine/cleaning_state.h"
#include "resources/resource.h"

static INT_PTR ProgressPage_OnInitDialog(HWND page)
{
    g_shell.progressPage = page;
    ShowWindow(GetDlgItem(page, IDC_PROGRESS_BAR), SW_HIDE);
    EnableWindow(GetDlgItem(page, IDC_PROGRESS_START), TRUE);
    LoadPendingTaskMask();
    return 1;
}

INT_PTR CALLBACK ProgressPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG:
        return ProgressPage_OnInitDialog(page);
    }
    return 0;
}
