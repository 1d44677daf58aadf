/*
 * The handheld property sheet on desktop comctl32: record translation, the
 * child sheet that fills its parent, bottom tabs, hidden buttons, and the
 * help delivery that the desktop sheet lacks.
 */
#include "platform/property_sheet.h"
#include <commctrl.h>

enum { MAX_SHEET_PAGES = 8, APPLY_BUTTON_ID = 0x3021 };
enum : UINT_PTR { SHEET_SUBCLASS_ID = 0x5348, PARENT_SUBCLASS_ID = 0x5350 };

static const WCHAR PAGE_PROPERTY[] = L"KestrumSheetPage";

struct SheetData;

/* What the platform keeps per page: the handheld descriptor and its window. */
struct PageEntry {
    SheetData *sheet;
    HandheldSheetPage page;
    HWND window;
};

/* What the platform keeps per sheet, from creation until the sheet is destroyed. */
struct SheetData {
    HandheldSheetHeader header;
    PageEntry entries[MAX_SHEET_PAGES];
    PROPSHEETPAGEW desktopPages[MAX_SHEET_PAGES];
    bool handheldStyle;
    HWND window;
    HWND parent;
};

/* The sheet being made: the desktop's pre-create step has no window to find it by. */
static SheetData *g_creatingSheet;

DWORD PlatformDesktopSheetFlags(DWORD handheldFlags)
{
    return handheldFlags & ~(DWORD)SHEET_MAXIMIZE;
}

/* Pre-create: the sheet's dialog becomes a frameless child control. */
static void MakeChildTemplate(void *dialogTemplate)
{
    WORD *words = (WORD *)dialogTemplate;
    DWORD *style;
    DWORD *exStyle;
    if (words[1] == 0xFFFF) { /* extended template: version, signature, help id, ex style, style */
        exStyle = (DWORD *)(words + 4);
        style = (DWORD *)(words + 6);
    } else {
        style = (DWORD *)words;
        exStyle = (DWORD *)(words + 2);
    }
    *style &= ~(DWORD)(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX
                       | DS_MODALFRAME | DS_CONTEXTHELP | WS_VISIBLE);
    *style |= WS_CHILD | DS_CONTROL | WS_CLIPSIBLINGS;
    *exStyle &= ~(DWORD)(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CONTEXTHELP | WS_EX_CLIENTEDGE);
    *exStyle |= WS_EX_CONTROLPARENT;
}

static void PlaceWindow(HWND window, const RECT &rect)
{
    RECT now;
    GetWindowRect(window, &now);
    MapWindowPoints(NULL, GetParent(window), (POINT *)&now, 2);
    if (!EqualRect(&now, &rect))
        MoveWindow(window, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

/* Tab control over the whole sheet; every page above its tabs. */
static void LayoutSheet(SheetData *data)
{
    HWND tab = (HWND)SendMessageW(data->window, PSM_GETTABCONTROL, 0, 0);
    if (!tab)
        return;
    RECT client;
    GetClientRect(data->window, &client);
    PlaceWindow(tab, client);
    RECT display = client;
    SendMessageW(tab, TCM_ADJUSTRECT, FALSE, (LPARAM)&display);
    /* The handheld's pages span the whole width from the top of the sheet
     * down to the tabs; only the tab strip's own height is taken away. */
    display.left = client.left;
    display.top = client.top;
    display.right = client.right;
    for (UINT i = 0; i < data->header.pageCount; ++i)
        if (data->entries[i].window)
            PlaceWindow(data->entries[i].window, display);
}

static void FillParent(SheetData *data)
{
    RECT client;
    GetClientRect(data->parent, &client);
    MoveWindow(data->window, 0, 0, client.right, client.bottom, TRUE);
    LayoutSheet(data);
}

static LRESULT CALLBACK SheetParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR ref);

static LRESULT CALLBACK SheetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                  DWORD_PTR ref)
{
    SheetData *data = (SheetData *)ref;
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL)
            return 0; /* Escape never ends the handheld sheet */
        break;
    case WM_CLOSE:
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE)
            return 0;
        break;
    case WM_HELP:
        /* F1 anywhere on the sheet: the current page gets the help request. */
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDHELP, 0), 0);
        return TRUE;
    case WM_SIZE: {
        LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        LayoutSheet(data);
        return result;
    }
    case PSM_SETCURSEL:
    case PSM_SETCURSELID: {
        /* A page made on its first show is placed by the desktop sheet for top tabs. */
        LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        LayoutSheet(data);
        return result;
    }
    case WM_NOTIFY:
        if (((NMHDR *)lParam)->code == (UINT)TCN_SELCHANGE) {
            LRESULT result = DefSubclassProc(window, message, wParam, lParam);
            LayoutSheet(data);
            return result;
        }
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, SheetProc, id);
        if (data->parent && IsWindow(data->parent))
            RemoveWindowSubclass(data->parent, SheetParentProc, PARENT_SUBCLASS_ID);
        HeapFree(GetProcessHeap(), 0, data);
        return DefSubclassProc(window, message, wParam, lParam);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

static LRESULT CALLBACK SheetParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR ref)
{
    (void)id;
    SheetData *data = (SheetData *)ref;
    if (message == WM_SIZE && (data->header.flags & SHEET_MAXIMIZE))
        FillParent(data);
    return DefSubclassProc(window, message, wParam, lParam);
}

/* Every page's messages pass here first, then go to the handheld page procedure. */
static INT_PTR CALLBACK PageThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    PageEntry *entry;
    if (message == WM_INITDIALOG) {
        entry = (PageEntry *)((const PROPSHEETPAGEW *)lParam)->lParam;
        SetPropW(window, PAGE_PROPERTY, entry);
        entry->window = window;
        /* The handheld hands the page its own descriptor. */
        return entry->page.dialogProc(window, message, wParam, (LPARAM)&entry->page);
    }
    entry = (PageEntry *)GetPropW(window, PAGE_PROPERTY);
    if (!entry)
        return FALSE;
    if (message == WM_NCDESTROY) {
        INT_PTR result = entry->page.dialogProc(window, message, wParam, lParam);
        RemovePropW(window, PAGE_PROPERTY);
        entry->window = NULL;
        return result;
    }
    return entry->page.dialogProc(window, message, wParam, lParam);
}

static UINT CALLBACK PageCallback(HWND window, UINT code, PROPSHEETPAGEW *desktopPage)
{
    PageEntry *entry = (PageEntry *)desktopPage->lParam;
    return entry->page.callback(window, code, &entry->page);
}

static int CALLBACK SheetCallback(HWND window, UINT code, LPARAM param)
{
    SheetData *data = g_creatingSheet;
    if (!data)
        return 0;
    if (code == PSCB_PRECREATE) {
        MakeChildTemplate((void *)param);
        return 0;
    }
    if (code == PSCB_INITIALIZED) {
        data->window = window;
        if (data->header.flags & SHEET_USE_CALLBACK)
            return data->header.callback(window, SHEET_INITIALIZED, param);
    }
    /* The desktop's other codes mean other things on the handheld. */
    return 0;
}

static void HideButtons(HWND sheet)
{
    static const int buttons[] = {IDOK, IDCANCEL, APPLY_BUTTON_ID, IDHELP};
    for (size_t i = 0; i < ARRAYSIZE(buttons); ++i) {
        HWND button = GetDlgItem(sheet, buttons[i]);
        if (button) {
            ShowWindow(button, SW_HIDE);
            EnableWindow(button, FALSE);
        }
    }
}

INT_PTR PlatformCreatePropertySheet(const HandheldSheetHeader *header)
{
    if (!header || header->size != sizeof(HandheldSheetHeader) || !(header->flags & SHEET_PAGE_ARRAY)
        || header->pageCount == 0 || header->pageCount > MAX_SHEET_PAGES || !header->pages)
        return -1;

    SheetData *data = (SheetData *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(SheetData));
    if (!data)
        return -1;
    data->header = *header;
    data->parent = header->parent;

    /* The handheld asks the sheet callback which common-controls version the
     * program expects; 524 selects the handheld sheet style. */
    if (header->flags & SHEET_USE_CALLBACK)
        data->handheldStyle = header->callback(NULL, SHEET_GET_VERSION, 0) == HANDHELD_CONTROLS_VERSION;

    for (UINT i = 0; i < header->pageCount; ++i) {
        PageEntry *entry = &data->entries[i];
        entry->sheet = data;
        entry->page = header->pages[i];
        PROPSHEETPAGEW *page = &data->desktopPages[i];
        page->dwSize = sizeof(PROPSHEETPAGEW);
        page->dwFlags = entry->page.flags & (SHEET_PAGE_USE_TITLE | SHEET_PAGE_USE_CALLBACK);
        page->hInstance = entry->page.instance;
        page->pszTemplate = entry->page.dialogTemplate;
        page->pszTitle = entry->page.title;
        page->pfnDlgProc = PageThunk;
        page->lParam = (LPARAM)entry;
        if (entry->page.flags & SHEET_PAGE_USE_CALLBACK)
            page->pfnCallback = (LPFNPSPCALLBACKW)PageCallback;
    }

    PROPSHEETHEADERW desktop;
    ZeroMemory(&desktop, sizeof(desktop));
    desktop.dwSize = sizeof(desktop);
    desktop.dwFlags = (PlatformDesktopSheetFlags(header->flags) & (SHEET_PAGE_ARRAY | SHEET_MODELESS)) | PSH_USECALLBACK
                      | PSH_NOAPPLYNOW | PSH_NOCONTEXTHELP;
    desktop.hwndParent = header->parent;
    desktop.hInstance = header->instance;
    desktop.pszCaption = header->caption ? header->caption : L"";
    desktop.nPages = header->pageCount;
    desktop.nStartPage = header->startPage;
    desktop.ppsp = data->desktopPages;
    desktop.pfnCallback = SheetCallback;

    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_TAB_CLASSES | ICC_PROGRESS_CLASS | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);

    g_creatingSheet = data;
    INT_PTR result = PropertySheetW(&desktop);
    g_creatingSheet = NULL;

    if (!(header->flags & SHEET_MODELESS)) {
        HeapFree(GetProcessHeap(), 0, data);
        return result;
    }
    HWND sheet = (HWND)result;
    if (result == -1 || result == 0 || !data->window || sheet != data->window) {
        if (data->window)
            DestroyWindow(data->window);
        HeapFree(GetProcessHeap(), 0, data);
        return -1;
    }

    HideButtons(sheet);
    if (data->handheldStyle) {
        HWND tab = (HWND)SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0);
        if (tab)
            SetWindowLongW(tab, GWL_STYLE, GetWindowLongW(tab, GWL_STYLE) | TCS_BOTTOM);
    }
    SetWindowSubclass(sheet, SheetProc, SHEET_SUBCLASS_ID, (DWORD_PTR)data);
    if (data->parent)
        SetWindowSubclass(data->parent, SheetParentProc, PARENT_SUBCLASS_ID, (DWORD_PTR)data);
    if ((header->flags & SHEET_MAXIMIZE) && data->parent)
        FillParent(data);
    else
        LayoutSheet(data);
    ShowWindow(sheet, SW_SHOW);
    return result;
}
