/*
 * The main window's four-page sheet: Progress, Options, Settings, Report.
 */
#include "shell/sheet.h"
#include "shell/base/shell_state.h"
#include "shell/progress_page.h"
#include "settings/pages/settings_pages.h"
#include "resources/resource.h"
#include <commctrl.h>

HandheldSheetPage g_sheetPages[SHEET_PAGE_COUNT];
HandheldSheetHeader g_sheetHeader;

/* The pages in sheet order: template, title, procedure. */
static const struct {
    int templateId;
    const WCHAR *title;
    DLGPROC procedure;
} PAGES[SHEET_PAGE_COUNT] = {
    {IDD_PROGRESS, L"Progress", ProgressPageProc},
    {IDD_OPTIONS, L"Options", OptionsPageProc},
    {IDD_SETTINGS, L"Settings", SettingsPageProc},
    {IDD_REPORT, L"Report", ReportPageProc},
};

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
        page->dialogProc = PAGES[i].procedure;
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
