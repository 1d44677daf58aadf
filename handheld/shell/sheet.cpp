/*
 * The main window's four-page sheet: Progress, Options, Settings, Report,
 * and telling the page in front that the user leaves it.
 */
#include "shell/sheet.h"
#include "shell/base/shell_state.h"
#include "shell/progress_page.h"
#include "settings/pages/settings_pages.h"
#include "resources/resource.h"
#include <commctrl.h>

HandheldSheetPage g_sheetPages[SHEET_PAGE_COUNT];
HandheldSheetHeader g_sheetHeader;

static INT_PTR CALLBACK ProgressPageEntry(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
static INT_PTR CALLBACK OptionsPageEntry(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
static INT_PTR CALLBACK SettingsPageEntry(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
static INT_PTR CALLBACK ReportPageEntry(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

/* The pages in sheet order: template, title, procedure, and what the sheet
 * calls, which passes each message on to the procedure. */
static const struct {
    int templateId;
    const WCHAR *title;
    DLGPROC procedure;
    DLGPROC entry;
} PAGES[SHEET_PAGE_COUNT] = {
    {IDD_PROGRESS, L"Progress", ProgressPageProc, ProgressPageEntry},
    {IDD_OPTIONS, L"Options", OptionsPageProc, OptionsPageEntry},
    {IDD_SETTINGS, L"Settings", SettingsPageProc, SettingsPageEntry},
    {IDD_REPORT, L"Report", ReportPageProc, ReportPageEntry},
};

/* The page in front: the last one the sheet made active, until it goes. */
static HWND s_currentPage;

/* A page learns that the user leaves it from WM_ACTIVATE with word parameter
 * 0 (the Settings page then takes its edit fields over). Neither sheet says
 * so by itself: a property page is a child window, and the system sends
 * activation messages to top-level windows only. So the sheet's own
 * notifications and the main window's deactivation and close are turned into
 * that message here, the same on every build. */
static void TellPageItIsLeft(HWND page)
{
    if (page)
        SendMessageW(page, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
}

/* The page's procedure first; then what the sheet's notifications mean for
 * the page in front. A page that answers PSN_KILLACTIVE itself (returns
 * nonzero) may be refusing to be left and is not told; Kestrum's pages
 * never refuse. */
static INT_PTR PassPageMessage(int index, HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    INT_PTR result = PAGES[index].procedure(page, message, wParam, lParam);
    if (message == WM_NOTIFY) {
        UINT code = ((const NMHDR *)lParam)->code;
        if (code == (UINT)PSN_SETACTIVE)
            s_currentPage = page;
        else if (code == (UINT)PSN_KILLACTIVE && !result)
            TellPageItIsLeft(page);
    } else if (message == WM_DESTROY && page == s_currentPage) {
        s_currentPage = NULL;
    }
    return result;
}

static INT_PTR CALLBACK ProgressPageEntry(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return PassPageMessage(0, page, message, wParam, lParam);
}

static INT_PTR CALLBACK OptionsPageEntry(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return PassPageMessage(1, page, message, wParam, lParam);
}

static INT_PTR CALLBACK SettingsPageEntry(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return PassPageMessage(2, page, message, wParam, lParam);
}

static INT_PTR CALLBACK ReportPageEntry(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return PassPageMessage(3, page, message, wParam, lParam);
}

void LeaveCurrentPage(void)
{
    TellPageItIsLeft(s_currentPage);
}

UINT CALLBACK MainPageCallback(HWND window, UINT code, HandheldSheetPage *page)
{
    (void)window;
    (void)page;
    return code == SHEET_PAGE_CREATE ? 1 : (UINT)-1; /* every page may be created */
}

int CALLBACK MainSheetCallback(HWND sheet, UINT code, LPARAM param)
{
    (void)param;
    switch (code) {
    case SHEET_INITIALIZED:
        g_shell.sheet = sheet;
        return 0;
    case SHEET_GET_VERSION:
        return HANDHELD_CONTROLS_VERSION; /* 524: the handheld sheet style */
    }
    return 0;
}

void FillSheetRecords(HWND parent)
{
    for (int i = 0; i < SHEET_PAGE_COUNT; ++i) {
        HandheldSheetPage *page = &g_sheetPages[i];
        ZeroMemory(page, sizeof(*page));
        page->size = sizeof(HandheldSheetPage);
        page->flags = MAIN_PAGE_FLAGS;
        page->instance = g_shell.instance;
        page->dialogTemplate = MAKEINTRESOURCEW(PAGES[i].templateId);
        page->title = PAGES[i].title;
        page->dialogProc = PAGES[i].entry;
        page->callback = MainPageCallback;
    }
    ZeroMemory(&g_sheetHeader, sizeof(g_sheetHeader));
    g_sheetHeader.size = sizeof(HandheldSheetHeader);
    g_sheetHeader.flags = MAIN_SHEET_FLAGS;
    g_sheetHeader.parent = parent;
    g_sheetHeader.instance = g_shell.instance;
    g_sheetHeader.pageCount = SHEET_PAGE_COUNT;
    g_sheetHeader.startPage = 0;
    g_sheetHeader.pages = g_sheetPages;
    g_sheetHeader.callback = MainSheetCallback;
}

void CreateMainSheet(HWND parent)
{
    FillSheetRecords(parent);
    /* Modeless: returns at once; the callback has stored the sheet window. */
    PlatformCreatePropertySheet(&g_sheetHeader);
}

void ShowPage(int templateId)
{
    SendMessageW(g_shell.sheet, PSM_SETCURSELID, 0, (LPARAM)templateId);
}
