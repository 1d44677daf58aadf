/* Page operations that draw nothing and record completions and sounds. */
#include "quiet_page.h"
#include "engine/cleaning_state.h"

namespace {

QuietPageLog *s_log;

void Page(HWND) {}
bool OpenLines(HWND) { return true; }
void Working(HWND, WORD, const WCHAR *) {}
void Done(HWND, WORD bit, const WCHAR *text)
{
    if (!(g_pendingTasks & bit))
        s_log->completed.push_back(text);
}
void Progress(HWND, int) {}
void Pause(DWORD) {}
void Sound() { s_log->sounds++; }

const CleaningPageOps QUIET = {
    Page, Page, OpenLines, Page, Working, Done, Progress, Pause, Sound,
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
