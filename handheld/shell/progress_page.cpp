/*
 * The Progress page. Start runs the cleaning on this thread and then either
 * quits (when the user asked for it) or turns to the Report; the same Start
 * command arrives from start-up when the program was started with "S".
 */
#include "shell/progress_page.h"
#include "shell/help_launcher.h"
#include "shell/page_drawing.h"
#include "shell/sheet.h"
#include "shell/shell_state.h"
#include "engine/cleaning_state.h"
#include "engine/cleaning_work.h"
#include "platform/bounded_text.h"
#include "platform/default_font.h"
#include "platform/input_panel.h"
#include "settings/settings_record.h"
#include "resources/resource.h"

#include <commctrl.h>
#include <mmsystem.h>
#include <prsht.h>

enum : COLORREF { HEADING_BLUE = 0x7F0000 };

/* --- the page operations of the cleaning run --- */

static HWND PageControl(HWND page, int id) { return GetDlgItem(page, id); }
/* The run draws in the handheld's default font, as the page's own painting does. */
static HDC PageDC(HWND page)
{
    HDC dc = GetDC(page);
    if (dc)
        SelectHandheldDefaultFont(page, dc);
    return dc;
}
static void SetBarPosition(HWND bar, int position) { SendMessageW(bar, PBM_SETPOS, (WPARAM)position, 0); }
static void ShowControl(HWND window, bool shown) { ShowWindow(window, shown ? SW_SHOW : SW_HIDE); }
static void EnableControl(HWND window, bool enabled) { EnableWindow(window, enabled); }
static void ClientRect(HWND page, RECT *rect) { GetClientRect(page, rect); }
static void ReleasePageDC(HWND page, HDC dc) { ReleaseDC(page, dc); }
static void TextColour(HDC dc, COLORREF colour) { SetTextColor(dc, colour); }
static void Transparent(HDC dc) { SetBkMode(dc, TRANSPARENT); }
static void Pause(DWORD milliseconds) { Sleep(milliseconds); }

static void RunHeaderBand(HWND page, HDC dc, COLORREF colour, const WCHAR *text)
{
    DrawPageHeaderBand(page, dc, g_shell.headerBrush, colour, text);
}

static void PlayCompletionSound(void)
{
    PlaySoundW(MAKEINTRESOURCEW(IDR_CHIME), g_shell.instance, SND_RESOURCE | SND_ASYNC | SND_NODEFAULT);
}

const CleaningPageOps PROGRESS_PAGE_OPS = {
    PageControl, SetBarPosition, ShowControl, EnableControl,
    PageDC, ReleasePageDC, ClientRect, TextColour, Transparent, RunHeaderBand, DrawTaskLine,
    Pause, PlayCompletionSound,
};

/* --- painting --- */

void PaintTaskList(HWND page, HDC dc)
{
    const WCHAR *heading = (g_pendingTasks & PENDING_RUN_STARTED) ? L"Completed Tasks" : L"Selected Options";
    DrawPageHeaderBand(page, dc, g_shell.headerBrush, HEADING_BLUE, heading);

    RECT client;
    GetClientRect(page, &client);
    RECT body = client;
    body.top += HEADER_BAND_HEIGHT;
    FillRect(dc, &body, g_shell.progressBodyBrush);

    SetTextColor(dc, 0);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ previousFont = SelectHandheldDefaultFont(page, dc);
    RECT row = client;
    row.top += ROWS_TOP;
    /* Eleven lines; the reserved twelfth task is never drawn. */
    for (int task = 1; task <= 11; task++) {
        const WCHAR *text = g_tasks[task - 1].name;
        WCHAR folder[PATH_CHARS];
        if (task == 3 || task == 4) {
            FolderPathText(task == 3 ? g_settings.folder1Path : g_settings.folder2Path, folder);
            text = folder;
        }
        row.top += DrawTaskLine(dc, row, g_tasks[task - 1].bit, text);
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
    HideInputPanel(page);
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
