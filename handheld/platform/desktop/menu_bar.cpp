/*
 * The menu bar on the desktop: an owned, never-activated strip at the bottom
 * of the screen area holding a toolbar with the resource's buttons.
 *
 * A bar made while its owner is being created is shown when the owner is.
 * Shown at once, its window surface is set up in the same breath as its
 * window, and Wine's X11 driver makes the two on separate X connections: a
 * busy X server can take the surface's drawing context before the window
 * exists, and every later paint of the bar is then refused without a word.
 */
#include "platform/menu_bar.h"
#include "platform/main_window_frame.h"
#include <commctrl.h>

static const WCHAR MENU_BAR_CLASS[] = L"KestrumMenuBar";

/* The owner's subclass that shows the bar with it (the ok button's subclass
 * on the same window has id 1). */
enum : UINT_PTR { OWNER_WATCH_ID = 2 };

/* What a bar window keeps: its layout and where its resources come from. */
struct MenuBarData {
    MenuBarLayout layout;
    HINSTANCE resourceInstance;
    HWND parent;
    HWND toolbar;
    WCHAR labels[MENU_BAR_MAX_BUTTONS][64];
};

bool PlatformParseMenuBarResource(const BYTE *data, size_t bytes, MenuBarLayout *layout)
{
    ZeroMemory(layout, sizeof(*layout));
    if (!data || bytes < 4)
        return false;
    const WORD *words = (const WORD *)data;
    size_t count = bytes / 2;
    layout->menuId = words[0];
    WORD buttons = words[1];
    if (buttons > MENU_BAR_MAX_BUTTONS || count < 2 + (size_t)buttons * 7)
        return false;
    for (int i = 0; i < buttons; ++i) {
        const WORD *b = words + 2 + i * 7;
        MenuBarButton *out = &layout->buttons[i];
        out->image = b[0];
        out->command = b[1];
        out->state = b[2];
        out->style = b[3];
        out->stringId = b[4];
        out->popup = b[6];
    }
    layout->buttonCount = buttons;
    return true;
}

static void OpenPopup(MenuBarData *bar, HWND window, int index)
{
    const MenuBarButton *button = &bar->layout.buttons[index];
    HMENU menu = LoadMenuW(bar->resourceInstance, MAKEINTRESOURCEW(bar->layout.menuId));
    if (!menu)
        return;
    HMENU popup = GetSubMenu(menu, button->popup);
    RECT rect;
    SendMessageW(bar->toolbar, TB_GETRECT, button->command, (LPARAM)&rect);
    MapWindowPoints(bar->toolbar, NULL, (POINT *)&rect, 2);
    UINT chosen = 0;
    if (popup)
        chosen = (UINT)TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_BOTTOMALIGN | TPM_RETURNCMD | TPM_NONOTIFY,
                                      rect.left, rect.top, 0, bar->parent, NULL);
    DestroyMenu(menu);
    (void)window;
    if (chosen)
        SendMessageW(bar->parent, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
}

static LRESULT MenuBar_OnNotify(HWND window, MenuBarData *bar, NMHDR *header)
{
    if (header->code != TBN_DROPDOWN)
        return 0;
    const NMTOOLBARW *toolbar = (const NMTOOLBARW *)header;
    for (int i = 0; i < bar->layout.buttonCount; ++i)
        if (bar->layout.buttons[i].command == toolbar->iItem && bar->layout.buttons[i].popup != MENU_BAR_NO_POPUP)
            OpenPopup(bar, window, i);
    return TBDDRET_DEFAULT;
}

/* The owner's first show shows the bar; the watch then ends. */
static LRESULT CALLBACK OwnerWatchProc(HWND owner, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR barWindow)
{
    if ((message == WM_WINDOWPOSCHANGED && IsWindowVisible(owner)) || message == WM_NCDESTROY) {
        RemoveWindowSubclass(owner, OwnerWatchProc, id);
        if (message == WM_WINDOWPOSCHANGED)
            ShowWindow((HWND)barWindow, SW_SHOWNOACTIVATE);
    }
    return DefSubclassProc(owner, message, wParam, lParam);
}

static LRESULT CALLBACK MenuBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MenuBarData *bar = (MenuBarData *)GetWindowLongPtrW(window, GWLP_USERDATA);
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE; /* the bar never takes activation from the main window */
    case WM_NOTIFY:
        return bar ? MenuBar_OnNotify(window, bar, (NMHDR *)lParam) : 0;
    case WM_COMMAND:
        /* A plain button of the bar: its command goes to the parent. */
        if (bar && (HWND)lParam == bar->toolbar)
            SendMessageW(bar->parent, WM_COMMAND, MAKEWPARAM(LOWORD(wParam), 0), 0);
        return 0;
    case WM_NCDESTROY:
        if (bar) {
            RemoveWindowSubclass(bar->parent, OwnerWatchProc, OWNER_WATCH_ID);
            HeapFree(GetProcessHeap(), 0, bar);
        }
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

static bool RegisterMenuBarClass(HINSTANCE instance)
{
    WNDCLASSW cls;
    if (GetClassInfoW(instance, MENU_BAR_CLASS, &cls))
        return true;
    ZeroMemory(&cls, sizeof(cls));
    cls.lpfnWndProc = MenuBarProc;
    cls.hInstance = instance;
    cls.hCursor = LoadCursorW(NULL, (LPCWSTR)IDC_ARROW);
    cls.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    cls.lpszClassName = MENU_BAR_CLASS;
    return RegisterClassW(&cls) != 0;
}

static HWND CreateToolbar(HWND bar, MenuBarData *data, HINSTANCE instance, int width)
{
    HWND toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, NULL,
                                   WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NODIVIDER
                                       | CCS_NORESIZE | CCS_NOPARENTALIGN,
                                   0, 0, width, HANDHELD_BAR_HEIGHT, bar, NULL, instance, NULL);
    if (!toolbar)
        return NULL;
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
    for (int i = 0; i < data->layout.buttonCount; ++i) {
        const MenuBarButton *b = &data->layout.buttons[i];
        LoadStringW(data->resourceInstance, b->stringId, data->labels[i], 64);
        TBBUTTON button;
        ZeroMemory(&button, sizeof(button));
        button.iBitmap = b->image == MENU_BAR_NO_IMAGE ? I_IMAGENONE : b->image;
        button.idCommand = b->command;
        button.fsState = (BYTE)b->state;
        button.fsStyle = (BYTE)b->style;
        button.iString = (INT_PTR)data->labels[i];
        SendMessageW(toolbar, TB_ADDBUTTONSW, 1, (LPARAM)&button);
    }
    return toolbar;
}

BOOL PlatformCreateMenuBar(MenuBarInfo *info)
{
    if (!info || info->size != sizeof(MenuBarInfo))
        return FALSE;
    info->menuBar = NULL;

    HRSRC found = FindResourceW(info->resourceInstance, MAKEINTRESOURCEW(info->menuBarId), (LPCWSTR)RT_RCDATA);
    HGLOBAL loaded = found ? LoadResource(info->resourceInstance, found) : NULL;
    const BYTE *bytes = loaded ? (const BYTE *)LockResource(loaded) : NULL;
    if (!bytes)
        return FALSE;

    MenuBarData *data = (MenuBarData *)HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(MenuBarData));
    if (!data)
        return FALSE;
    if (!PlatformParseMenuBarResource(bytes, SizeofResource(info->resourceInstance, found), &data->layout)) {
        HeapFree(GetProcessHeap(), 0, data);
        return FALSE;
    }
    data->resourceInstance = info->resourceInstance;
    data->parent = info->parent;

    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    HINSTANCE instance = GetModuleHandleW(NULL);
    RECT area = PlatformScreenArea();
    int width = area.right - area.left;
    HWND bar = NULL;
    if (RegisterMenuBarClass(instance))
        bar = CreateWindowExW(WS_EX_TOOLWINDOW, MENU_BAR_CLASS, NULL, WS_POPUP | WS_CLIPCHILDREN,
                              area.left, area.bottom - HANDHELD_BAR_HEIGHT, width, HANDHELD_BAR_HEIGHT,
                              info->parent, NULL, instance, NULL);
    if (!bar) {
        HeapFree(GetProcessHeap(), 0, data);
        return FALSE;
    }
    SetWindowLongPtrW(bar, GWLP_USERDATA, (LONG_PTR)data);
    data->toolbar = CreateToolbar(bar, data, instance, width);
    if (IsWindowVisible(info->parent))
        ShowWindow(bar, SW_SHOWNOACTIVATE);
    else
        SetWindowSubclass(info->parent, OwnerWatchProc, OWNER_WATCH_ID, (DWORD_PTR)bar);
    info->menuBar = bar;
    return TRUE;
}
