/* Page operations that draw nothing and record completions and sounds. */
#include "quiet_page.h"
#include "engine/cleaning_state.h"

namespace {

QuietPageLog *s_log;

HWND Item(HWND, int id) { return (HWND)(INT_PTR)id; }
void Bar(HWND, int) {}
void Show(HWND, bool) {}
void Enable(HWND, bool) {}
HDC GetDc(HWND) { return (HDC)1; }
void ReleaseDc(HWND, HDC) {}
void Client(HWND, RECT *r) { SetRect(r, 0, 0, 240, 268); }
void Colour(HDC, COLORREF) {}
void Transparent(HDC) {}
void Header(HWND, HDC, COLORREF, const WCHAR *) {}
int Line(HDC, RECT, WORD bit, const WCHAR *text)
{
    if (!(g_pendingTasks & bit))
        s_log->completed.push_back(text);
    return 17;
}
void Pause(DWORD) {}
void Sound() { s_log->sounds++; }

const CleaningPageOps QUIET = {
    Item, Bar, Show, Enable, GetDc, ReleaseDc, Client, Colour, Transparent, Header, Line, Pause, Sound,
};

} // namespace

const CleaningPageOps *QuietPageOps(QuietPageLog *log)
{
    s_log = log;
    return &QUIET;
}

HWND QuietPage(void)
{
    return (HWND)1;
}
