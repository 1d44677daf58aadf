/*
 * CloseRunningPrograms against real windows: copies of helper_windows.exe run
 * under the file names the closer tells apart, show the windows each test asks
 * for, and report the close requests they receive. Every wait is a polling
 * loop with a generous bound; no check relies on how fast a program reacts.
 */
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

#include "closer/closer.h"
#include "device.h"
#include "helper_windows.h"
#include "wait_bound.h"

namespace {

const DWORD KEEP_ACTIVESYNC = 0x40000;
const WCHAR OWN_TITLE[] = L"Kestrum closer test";

HWND g_ownWindow;

std::wstring ClassOf(HWND window)
{
    WCHAR name[256] = L"";
    GetClassNameW(window, name, 256);
    return name;
}

class ProgramCloser : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        /* Visible and titled like Kestrum's own main window. */
        g_ownWindow = CreateObserverWindow(L"KestrumCloserTest", OWN_TITLE);

        const WCHAR *copies[] = {
            L"\\Temp\\closer\\one\\calc.exe",
            L"\\Temp\\closer\\two\\CALC.EXE", /* a folder of its own: D: ignores case */
            L"\\Temp\\closer\\shell\\shell32.exe",
            L"\\Temp\\closer\\apps\\notes.exe",
        };
        for (const WCHAR *copy : copies) {
            std::wstring path = copy;
            MakeFolders(path.substr(0, path.rfind(L'\\')));
            CopyFileW(L"\\Tests\\helper_windows.exe", copy, FALSE);
        }
    }

    void SetUp() override
    {
        ASSERT_NE(g_ownWindow, (HWND)NULL);
        g_observerCloses = 0;
        g_helperReports.clear();
    }

    void TearDown() override
    {
        for (RunningHelper &helper : helpers_)
            EndHelper(helper);
        helpers_.clear();
        EmptyRunningProgramList();
    }

    /* Starts a helper copy with one window per argument; returns the
     * helper's windows in argument order. */
    RunningHelper Start(const WCHAR *exe, const std::vector<std::wstring> &arguments)
    {
        helpers_.push_back(StartHelper(exe, arguments));
        return helpers_.back();
    }

    /* Every close request made so far, to any helper window or this
     * program's own, has been handled once this returns. */
    void Settle()
    {
        std::vector<HWND> asked;
        for (const RunningHelper &helper : helpers_)
            for (const HelperWindow &w : helper.windows)
                asked.push_back(w.handle);
        SettleWindows(g_ownWindow, asked);
    }

    /* How many WM_CLOSE a window has received: -1 once it is gone. */
    static LONG ClosesOf(HWND window)
    {
        if (!IsWindow(window))
            return -1;
        auto it = g_helperReports.find(window);
        return it == g_helperReports.end() ? -2 : it->second;
    }

    static int RecordsOf(HWND window, const WCHAR **title)
    {
        int n = 0;
        for (int i = 0; i < g_runningPrograms.count; i++) {
            if (g_runningPrograms.records[i]->window == window) {
                n++;
                *title = g_runningPrograms.records[i]->title;
            }
        }
        return n;
    }

    /* Requests the last call made to windows that are not the helpers' (the
     * device's own windows, should any of them be visible and titled), so that
     * counts are checked over the helpers' windows alone. */
    int ForeignRequests(DWORD keepActiveSync) const
    {
        int n = 0;
        for (int i = 0; i < g_runningPrograms.count; i++) {
            const WindowRecord *record = g_runningPrograms.records[i];
            bool ours = false;
            for (const RunningHelper &helper : helpers_) {
                for (const HelperWindow &w : helper.windows)
                    ours = ours || w.handle == record->window;
            }
            if (!ours && ShouldPostClose(record->title, keepActiveSync))
                n++;
        }
        return n;
    }

    std::vector<RunningHelper> helpers_;
};

const LONG CLOSED = -1;

} // namespace

TEST_F(ProgramCloser, NothingIsClosedWhenOnlyTheDeviceAndThisProgramRun)
{
    /* The device's own windows (its desktop and the like) play the shell:
     * none of them is visible and titled. */
    EXPECT_EQ(CloseRunningPrograms(g_ownWindow, 0), 0);
    EXPECT_EQ(g_runningPrograms.count, 0);
    for (int i = 0; i < g_runningPrograms.count; i++)
        ADD_FAILURE() << "recorded a window of class " << testing::PrintToString(ClassOf(g_runningPrograms.records[i]->window));
    Settle();
    EXPECT_EQ(g_observerCloses, 0);
}

TEST_F(ProgramCloser, ClosesOrdinaryWindowsAndLeavesTheRestAlone)
{
    std::wstring longTitle = L"A title far too long for the capture buffer of sixty-four: 0123456789";
    ASSERT_GT(longTitle.size(), 64u);

    const RunningHelper calc = Start(L"D:\\Temp\\closer\\one\\calc.exe", { L"v|ADVCALC|", L"v|CalcTape|" });
    const RunningHelper upper = Start(L"D:\\Temp\\closer\\two\\CALC.EXE", { L"v|ADVCALC|" });
    const RunningHelper shell = Start(L"D:\\Temp\\closer\\shell\\shell32.exe", { L"v|ShellFrame|Start" });
    const RunningHelper notes = Start(L"D:\\Temp\\closer\\apps\\notes.exe", {
        L"v|Plain|Notes",
        L"h|Hidden|Hidden notes",
        L"v|Untitled|",
        L"v|Sync|ActiveSync",
        L"v|SyncStatus|ActiveSync Status",
        L"v|Gauge|My Gauge Deck view",
        L"v|Strip|Lantern Strip clock",
        L"v|Lookalike|About Kestrum help",
        L"v|Long|" + longTitle,
    });
    ASSERT_FALSE(HasFailure());

    /* calc.exe's calculator, Notes, both ActiveSync windows and the long title. */
    EXPECT_EQ(CloseRunningPrograms(g_ownWindow, 0), 5 + ForeignRequests(0));
    Settle();

    const struct {
        HWND window;
        LONG closes;
        const WCHAR *recordTitle; /* NULL: no record */
    } expected[] = {
        { calc.windows[0].handle, CLOSED, L"Calculator" },
        { calc.windows[1].handle, 0, NULL },
        { upper.windows[0].handle, 0, NULL },
        { shell.windows[0].handle, 0, NULL },
        { notes.windows[0].handle, CLOSED, L"Notes" },
        { notes.windows[1].handle, 0, NULL },
        { notes.windows[2].handle, 0, NULL },
        { notes.windows[3].handle, CLOSED, L"ActiveSync" },
        { notes.windows[4].handle, CLOSED, L"ActiveSync Status" },
        { notes.windows[5].handle, 0, NULL },
        { notes.windows[6].handle, 0, NULL },
        { notes.windows[7].handle, 0, NULL },
        { notes.windows[8].handle, CLOSED, NULL /* checked below */ },
    };
    for (size_t i = 0; i < sizeof(expected) / sizeof(expected[0]); i++) {
        EXPECT_EQ(ClosesOf(expected[i].window), expected[i].closes) << "window " << i;
        const WCHAR *title = NULL;
        int records = RecordsOf(expected[i].window, &title);
        if (expected[i].recordTitle) {
            EXPECT_EQ(records, 1) << "window " << i;
            EXPECT_STREQ(title, expected[i].recordTitle) << "window " << i;
        } else if (expected[i].closes == 0) {
            EXPECT_EQ(records, 0) << "window " << i;
        }
    }

    const WCHAR *cut = NULL;
    EXPECT_EQ(RecordsOf(notes.windows[8].handle, &cut), 1);
    EXPECT_EQ(cut ? std::wstring(cut) : L"", longTitle.substr(0, 63));
    EXPECT_EQ(g_observerCloses, 0);
}

TEST_F(ProgramCloser, KeepFlagSparesOnlyTheWindowTitledExactlyActiveSync)
{
    const RunningHelper sync = Start(L"D:\\Temp\\closer\\apps\\notes.exe",
                                      { L"v|Sync|ActiveSync", L"v|SyncStatus|ActiveSync Status" });
    ASSERT_FALSE(HasFailure());

    EXPECT_EQ(CloseRunningPrograms(g_ownWindow, KEEP_ACTIVESYNC), 1 + ForeignRequests(KEEP_ACTIVESYNC));
    Settle();
    EXPECT_EQ(ClosesOf(sync.windows[0].handle), 0);
    EXPECT_EQ(ClosesOf(sync.windows[1].handle), CLOSED);
    /* Spared at posting time: it is still in the list. */
    const WCHAR *title = NULL;
    EXPECT_EQ(RecordsOf(sync.windows[0].handle, &title), 1);

    EXPECT_EQ(CloseRunningPrograms(g_ownWindow, 0), 1 + ForeignRequests(0));
    Settle();
    EXPECT_EQ(ClosesOf(sync.windows[0].handle), CLOSED);
    EXPECT_EQ(g_observerCloses, 0);
}

TEST_F(ProgramCloser, ThreeTitledWindowsOfOneProgramMakeThreeRequests)
{
    const RunningHelper notes = Start(L"D:\\Temp\\closer\\apps\\notes.exe",
                                       { L"v|First|Notes one", L"v|Second|Notes two", L"v|Third|Notes three" });
    ASSERT_FALSE(HasFailure());

    /* The platform's window order, taken before the close requests go out:
     * afterwards the helper may already have closed some of its windows. */
    const std::vector<HWND> order = WindowsOfProcess(notes.process.dwProcessId);

    EXPECT_EQ(CloseRunningPrograms(g_ownWindow, 0), 3 + ForeignRequests(0));

    /* The records follow that order. */
    std::vector<HWND> recorded;
    for (int i = 0; i < g_runningPrograms.count; i++) {
        for (HWND h : order) {
            if (g_runningPrograms.records[i]->window == h)
                recorded.push_back(h);
        }
    }
    std::vector<HWND> enumerated;
    for (HWND h : order) {
        for (const HelperWindow &w : notes.windows) {
            if (w.handle == h)
                enumerated.push_back(h);
        }
    }
    EXPECT_EQ(recorded.size(), 3u);
    EXPECT_EQ(recorded, enumerated);

    Settle();
    for (const HelperWindow &w : notes.windows)
        EXPECT_EQ(ClosesOf(w.handle), CLOSED);
    /* With its last window gone, the program ends by itself. */
    EXPECT_EQ(WaitForSingleObject(notes.process.hProcess, WAIT_BOUND_MS), WAIT_OBJECT_0);
    EXPECT_EQ(g_observerCloses, 0);
}

TEST_F(ProgramCloser, SecondQuickCallAsksWindowsNotYetClosedAgain)
{
    const RunningHelper deaf = Start(L"D:\\Temp\\closer\\apps\\notes.exe",
                                      { L"vi|DeafOne|Deaf one", L"vi|DeafTwo|Deaf two" });
    ASSERT_FALSE(HasFailure());

    EXPECT_EQ(CloseRunningPrograms(g_ownWindow, 0), 2 + ForeignRequests(0));
    EXPECT_EQ(CloseRunningPrograms(g_ownWindow, 0), 2 + ForeignRequests(0));
    Settle();
    for (const HelperWindow &w : deaf.windows) {
        const WCHAR *title = NULL;
        EXPECT_EQ(RecordsOf(w.handle, &title), 1);
        EXPECT_EQ(ClosesOf(w.handle), 2);
    }
    EXPECT_EQ(g_observerCloses, 0);
}
