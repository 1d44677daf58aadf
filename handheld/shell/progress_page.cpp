/*
 * The Progress page. Start runs the cleaning on this thread and then either
 * quits (when the user asked for it) or turns to the Report; the same Start
 * command arrives from start-up when the program was started with "S".
 */
#include "shell/progress_page.h"
#include "shell/base/help_launcher.h"
#include "shell/base/page_drawing.h"
#include "shell/sheet.h"
#include "shell/base/shell_state.h"
#include "engine/cleaning_state.h"
#include "engine/cleaning_work.h"
#include "common/bounded_text.h"
#include "platform/default_font.h"
#include "platform/input_panel.h"
#include "settings/record/settings_record.h"
#include "resources/resource.h"

#include <commctrl.h>
#include <mmsystem.h>
#include <prsht.h>

COLORREF TaskLineColour(bool done)
{
    return done ? 0x000000 : 0x0000FF; /* black; red (0x00BBGGRR) */
}

/* --- the page operations of the cleaning run --- */

/* The drawing context and the row of the next task line, while a run draws. */
static struct {
    HDC dc;
    RECT row;
} s_lines;

static void ShowRunControls(HWND page, bool running)
{
    ShowWindow(GetDlgItem(page, IDC_PROGRESS_BAR), running ? SW_SHOW : SW_HIDE);
    EnableWindow(GetDlgItem(page, IDC_PROGRESS_START), !running);
}

static void SetProgress(HWND page, int position)
{
    SendMessageW(GetDlgItem(page, IDC_PROGRESS_BAR), PBM_SETPOS, (WPARAM)position, 0);
}

/* While a run works, the bar shows its progress and Start is off. */
static void RunStarting(HWND page)
{
    SetProgress(page, 0);
    ShowRunControls(page, true);
}

static void RunOver(HWND page) { ShowRunControls(page, false); }

/* The run draws in the handheld's default font, as the page's own painting does. */
static bool OpenLines(HWND page)
{
    s_lines.dc = GetDC(page);
    if (!s_lines.dc)
        return false;
    PlatformSelectDefaultFont(page, s_lines.dc);
    GetClientRect(page, &s_lines.row);
    s_lines.row.top += FIRST_ROW_TOP;
    SetBkMode(s_lines.dc, TRANSPARENT);
    DrawPageHeaderBand(page, s_lines.dc, g_shell.headerBrush, PAGE_TITLE_BLUE, L"Cleaning Progress");
    return true;
}

static void CloseLines(HWND page)
{
    DrawPageHeaderBand(page, s_lines.dc, g_shell.headerBrush, PAGE_TITLE_BLUE, L"Completed Tasks");
    ReleaseDC(page, s_lines.dc);
    s_lines.dc = NULL;
}

static void TaskWorking(HWND, WORD bit, const WCHAR *text)
{
    SetTextColor(s_lines.dc, TaskLineColour(false));
    DrawTaskLine(s_lines.dc, s_lines.row, bit, text);
}

static void TaskDone(HWND, WORD bit, const WCHAR *text)
{
    SetTextColor(s_lines.dc, TaskLineColour(true));
    s_lines.row.top += DrawTaskLine(s_lines.dc, s_lines.row, bit, text);
}

static void Pause(DWORD milliseconds) { Sleep(milliseconds); }

static void PlayCompletionSound(void)
{
    PlaySoundW(MAKEINTRESOURCEW(IDR_CHIME), g_shell.instance, SND_RESOURCE | SND_ASYNC | SND_NODEFAULT);
}

const CleaningPageOps PROGRESS_PAGE_OPS = {
    RunStarting, RunOver, OpenLines, CloseLines, TaskWorking, TaskDone, SetProgress,
    Pause, PlayCompletionSound,
};

/* --- painting --- */

void PaintTaskList(HWND page, HDC dc)
{
    const WCHAR *heading = (g_pendingTasks & PENDING_RUN_STARTED) ? L"Completed Tasks" : L"Selected Options";
    DrawPageHeaderBand(page, dc, g_shell.headerBrush, PAGE_TITLE_BLUE, heading);

    RECT client;
    GetClientRect(page, &client);
    RECT body = client;
    body.top += HEADER_BAND_HEIGHT;
    FillRect(dc, &body, g_shell.progressBodyBrush);

    SetTextColor(dc, 0);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ previousFont = PlatformSelectDefaultFont(page, dc);
    RECT row = client;
    row.top += FIRST_ROW_TOP;
    for (int i = 0; i < TASK_COUNT; i++) {
        const CleaningTask &task = g_tasks[i];
        if (!IsListedTask(task))
            continue;
        WCHAR folder[PATH_CHARS];
        row.top += DrawTaskLine(dc, row, task.bit, TaskLineText(task, folder));
    }
    SelectObject(dc, previousFont);
}

/* --- the page procedure --- */

static INT_PTR ProgressPage_OnInitDialog(HWND page)
{
    g_shell.progressPage = page;
    ShowWindow(GetDlgItem(page, IDC_PROGRESS_BAR), SW_HIDE);
    EnableWindow(GetDlgItem(page, IDC_PROGRESS_START), TRUE);
    LoadPendingTaskMask();
    return 1;
}

static INT_PTR ProgressPage_OnEraseBkgnd(HWND page)
{
    PlatformHideInputPanel(page);
    /* The page's own context: the list is drawn whole, not only where the
     * system thinks the background needs it. */
    HDC dc = GetDC(page);
    if (dc) {
        PaintTaskList(page, dc);
        ReleaseDC(page, dc);
    }
    return 1;
}

static INT_PTR ProgressPage_OnNotify(const NMHDR *header)
{
    if (header->code == (UINT)PSN_APPLY)
        PostQuitMessage(0);
    else if (header->code == (UINT)PSN_HELP)
        OpenHelp(L"Main_Contents");
    return 0;
}

static INT_PTR ProgressPage_OnStart(HWND page)
{
    RunCleaning(page, &PROGRESS_PAGE_OPS, &CLEANING_WORK);
    if (g_settings.flags & OPT_EXIT_WHEN_FINISHED)
        PostQuitMessage(0);
    else
        ShowPage(IDD_REPORT);
    return 1;
}

INT_PTR CALLBACK ProgressPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return ProgressPage_OnInitDialog(page);
    case WM_ERASEBKGND:
        return ProgressPage_OnEraseBkgnd(page);
    case WM_NOTIFY:
        return ProgressPage_OnNotify((const NMHDR *)lParam);
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_PROGRESS_START)
            return ProgressPage_OnStart(page);
        return 0;
    }
    return 0;
}
