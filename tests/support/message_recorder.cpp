#include "message_recorder.h"

#include <commctrl.h>
#include <map>

#include "wait_bound.h"

namespace {

struct Recording {
    std::vector<UINT> kinds;
    bool keep;
};

std::map<HWND, Recording> s_recordings;
std::vector<SeenMessage> s_seen;
const UINT_PTR RECORDER_ID = 0x4B52;

LRESULT CALLBACK Recorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    auto found = s_recordings.find(window);
    if (found != s_recordings.end()) {
        for (UINT kind : found->second.kinds) {
            if (kind != message)
                continue;
            int code = message == WM_NOTIFY ? (int)((const NMHDR *)lParam)->code : 0;
            WPARAM w = message == WM_COMMAND ? LOWORD(wParam) : wParam;
            s_seen.push_back({window, message, w, code});
            if (found->second.keep)
                return 0;
        }
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace

void RecordMessages(HWND window, std::initializer_list<UINT> kinds, bool keep)
{
    s_recordings[window] = Recording{kinds, keep};
    SetWindowSubclass(window, Recorder, RECORDER_ID, 0);
}

void StopRecording(HWND window)
{
    RemoveWindowSubclass(window, Recorder, RECORDER_ID);
    s_recordings.erase(window);
}

const std::vector<SeenMessage> &SeenMessages(void)
{
    return s_seen;
}

void ForgetSeenMessages(void)
{
    s_seen.clear();
}

int CountSeen(HWND window, UINT message, WPARAM wParam, int code)
{
    int n = 0;
    for (const SeenMessage &s : s_seen)
        if (s.window == window && s.message == message && s.wParam == wParam && s.code == code)
            ++n;
    return n;
}

testing::AssertionResult SeenSequence(HWND window, const std::vector<ExpectedMessage> &expected)
{
    size_t row = 0;
    for (const SeenMessage &s : s_seen) {
        if (s.window != window)
            continue;
        if (row == expected.size())
            return testing::AssertionFailure() << "unexpected message 0x" << std::hex << s.message << " after "
                                               << std::dec << row << " expected";
        const ExpectedMessage &e = expected[row];
        if (s.message != e.message || s.wParam != e.wParam || s.code != e.code)
            return testing::AssertionFailure() << "row " << row << ": got message 0x" << std::hex << s.message
                                               << " wParam 0x" << s.wParam << std::dec << " code " << s.code
                                               << ", expected 0x" << std::hex << e.message << " wParam 0x"
                                               << e.wParam << std::dec << " code " << e.code;
        ++row;
    }
    if (row != expected.size())
        return testing::AssertionFailure() << "only " << row << " of " << expected.size() << " messages arrived";
    return testing::AssertionSuccess();
}

bool PumpMessages(void)
{
    bool quit = false;
    MSG message;
    while (PeekMessageW(&message, NULL, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quit = true;
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return quit;
}

bool PumpUntil(const std::function<bool()> &condition)
{
    for (DWORD start = GetTickCount(); !condition(); PumpMessages()) {
        if (GetTickCount() - start > WAIT_BOUND_MS)
            return false;
        MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT); /* paces the polling only */
    }
    return true;
}
