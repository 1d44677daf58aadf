/* Support of the page tests. */
#include "page_test_support.h"


std::vector<DrawnText> g_drawnTexts;

typedef int(WINAPI *DrawTextProc)(HDC, LPCWSTR, int, LPRECT, UINT);
static DrawTextProc s_realDrawText;

static int WINAPI RecordingDrawText(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT flags)
{
    DrawnText drawn;
    drawn.window = WindowFromDC(dc);
    drawn.text = count < 0 ? std::wstring(text) : std::wstring(text, count);
    drawn.rect = *rect;
    drawn.flags = flags;
    drawn.colour = GetTextColor(dc);
    drawn.backgroundMode = GetBkMode(dc);
    RECT measured = *rect;
    drawn.height = s_realDrawText(dc, text, count, &measured, flags | DT_CALCRECT);
    drawn.right = measured.right;
    g_drawnTexts.push_back(drawn);
    return s_realDrawText(dc, text, count, rect, flags);
}

void ClearDrawnTexts(void)
{
    g_drawnTexts.clear();
}

/* The import slot of user32's DrawTextW in this program's import table. */
static void **DrawTextImportSlot(void)
{
    BYTE *base = (BYTE *)GetModuleHandleW(NULL);
    IMAGE_NT_HEADERS *nt = (IMAGE_NT_HEADERS *)(base + ((IMAGE_DOS_HEADER *)base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY &dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    void *real = (void *)GetProcAddress(GetModuleHandleW(L"user32.dll"), "DrawTextW");
    for (IMAGE_IMPORT_DESCRIPTOR *d = (IMAGE_IMPORT_DESCRIPTOR *)(base + dir.VirtualAddress); d->Name; ++d) {
        if (lstrcmpiA((const char *)(base + d->Name), "user32.dll") != 0)
            continue;
        for (void **slot = (void **)(base + d->FirstThunk); *slot; ++slot)
            if (*slot == real || *slot == (void *)RecordingDrawText)
                return slot;
    }
    return NULL;
}

bool RecordDrawnTexts(void)
{
    void **slot = DrawTextImportSlot();
    if (!slot)
        return false;
    if (*slot == (void *)RecordingDrawText)
        return true;
    s_realDrawText = (DrawTextProc)*slot;
    DWORD protection;
    VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &protection);
    *slot = (void *)RecordingDrawText;
    VirtualProtect(slot, sizeof(*slot), protection, &protection);
    return true;
}

void RedrawNow(HWND window)
{
    RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ERASENOW | RDW_UPDATENOW | RDW_ALLCHILDREN);
}
