/*
 * The cleaning run over a recording table of operations: the exact order of
 * drawing, progress, pauses, sounds and task work, the rows the lines land
 * on, and what the run leaves in the mask and the statistics.
 */
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "engine/cleaning_run.h"
#include "engine/cleaning_state.h"
#include "settings/settings_record.h"

namespace {

std::vector<std::string> g_log;
bool g_haveDC = true;
int g_closeResult = 0;

std::string Narrow(const WCHAR *text)
{
    std::string s;
    for (; text && *text; text++)
        s += (char)*text;
    return s;
}

HWND const PAGE = (HWND)0x100;
HWND const BAR = (HWND)0x200;
HWND const START = (HWND)0x300;
HDC const DC = (HDC)0x400;

void Log(const std::string &line) { g_log.push_back(line); }

HWND Item(HWND, int id) { return id == IDC_PROGRESS_BAR ? BAR : id == IDC_PROGRESS_START ? START : NULL; }
void Bar(HWND bar, int position) { Log((bar == BAR ? "bar " : "bar? ") + std::to_string(position)); }
void Show(HWND w, bool shown) { Log(std::string(w == BAR ? "bar" : "?") + (shown ? " shown" : " hidden")); }
void Enable(HWND w, bool enabled) { Log(std::string(w == START ? "start" : "?") + (enabled ? " enabled" : " disabled")); }
HDC GetDc(HWND) { Log("get dc"); return g_haveDC ? DC : NULL; }
void ReleaseDc(HWND, HDC) { Log("release dc"); }
void Client(HWND, RECT *r) { SetRect(r, 0, 0, 240, 268); }
void Colour(HDC, COLORREF c) { Log(c == RUN_RED ? "red" : c == RUN_BLACK ? "black" : "colour?"); }
void Transparent(HDC) { Log("transparent"); }
void Header(HWND, HDC, COLORREF c, const WCHAR *text) { Log("header " + Narrow(text) + (c == 0x7F0000 ? "" : " colour?")); }
int Line(HDC, RECT row, WORD bit, const WCHAR *text)
{
    Log("line " + std::to_string(bit) + " at " + std::to_string(row.top) + " " + Narrow(text)
        + ((g_pendingTasks & bit) ? " pending" : " done"));
    return (g_settings.flags & bit) ? 17 : 0;
}
void Pause(DWORD ms) { Log("pause " + std::to_string(ms)); }
void Sound() { Log("sound"); }
int Close(HWND owner, DWORD keep) { Log("close " + std::to_string(keep) + (owner == PAGE ? "" : " owner?")); return g_closeResult; }
void PurgeTemp() { Log("purge temp"); }
void Purge(const WCHAR *path) { Log("purge " + Narrow(path)); }
void Registered(int task) { Log("registered " + std::to_string(task)); }
void Fixed(int task) { Log("fixed " + std::to_string(task)); }
void Address() { Log("address history"); }
void Keys() { Log("dead keys"); }
void AppMgr() { Log("dead appmgr"); }
void StartMenu() { Log("start menu shortcuts"); }
void StartUp(HWND) { Log("start-up shortcuts"); }

const CleaningPageOps PAGE_OPS = {
    Item, Bar, Show, Enable, GetDc, ReleaseDc, Client, Colour, Transparent, Header, Line, Pause, Sound,
};
const CleaningWorkOps WORK = {
    Close, PurgeTemp, Purge, Registered, Fixed, Address, Keys, AppMgr, StartMenu, StartUp,
};

/* The log with the bar's steps and their 10 ms pauses folded into "bar a..b". */
std::vector<std::string> Folded()
{
    std::vector<std::string> out;
    for (size_t i = 0; i < g_log.size(); i++) {
        if (g_log[i].rfind("bar ", 0) == 0 && i + 1 < g_log.size() && g_log[i + 1] == "pause 10") {
            std::string first = g_log[i].substr(4), last = first;
            while (i + 1 < g_log.size() && g_log[i + 1] == "pause 10" && i + 2 < g_log.size()
                   && g_log[i + 2].rfind("bar ", 0) == 0 && g_log[i + 2] != "bar 0"
                   && std::stoi(g_log[i + 2].substr(4)) == std::stoi(last) + 10) {
                last = g_log[i + 2].substr(4);
                i += 2;
            }
            out.push_back("bar " + first + ".." + last);
            i++; /* the last pause */
        } else {
            out.push_back(g_log[i]);
        }
    }
    return out;
}

int Count(const std::string &line)
{
    int n = 0;
    for (const auto &l : g_log)
        n += l == line;
    return n;
}

class CleaningRun : public testing::Test {
protected:
    void SetUp() override
    {
        g_log.clear();
        g_haveDC = true;
        g_closeResult = 0;
        FillTaskTable();
        memset(&g_settings, 0, sizeof(g_settings));
        wcscpy(g_settings.folder1Path, L"\\My Documents\\Temp");
        wcscpy(g_settings.folder2Path, L"\\My Documents\\Temp1");
    }
    void Select(DWORD flags)
    {
        g_settings.flags = flags;
        LoadPendingTaskMask();
    }
};

} // namespace

TEST_F(CleaningRun, FirstTaskClosesProgramsThenPausesAndPlaysTheSound)
{
    Select(OPT_STOP_PROGRAMS | OPT_KEEP_ACTIVESYNC | OPT_SOUND_ON);
    g_closeResult = 3;
    RunCleaning(PAGE, &PAGE_OPS, &WORK);
    std::vector<std::string> expected = {
        "bar 0", "bar shown", "start disabled", "get dc", "transparent",
        "header Cleaning Progress",
        "close 262144",
        "red", "line 1 at 38 Stop running programs pending", "bar 0..50",
        "pause 300",
        "bar 60..100", "sound", "black", "line 1 at 38 Stop running programs done",
        "header Completed Tasks", "release dc", "bar hidden", "start enabled",
    };
    EXPECT_EQ(Folded(), expected);
    EXPECT_EQ(g_stats.applicationsClosed, 3);
    EXPECT_EQ(g_stats.tasksPerformed, 1);
    EXPECT_EQ(g_pendingTasks, 0x8000);
}

TEST_F(CleaningRun, EveryTaskRunsItsWorkBetweenItsPhasesInTableOrder)
{
    Select(0x0FFF);
    g_closeResult = 5;
    RunCleaning(PAGE, &PAGE_OPS, &WORK);
    std::vector<std::string> expected = {
        "bar 0", "bar shown", "start disabled", "get dc", "transparent", "header Cleaning Progress",
        "close 0", "red", "line 1 at 38 Stop running programs pending", "bar 0..50", "pause 300", "bar 60..100",
        "black", "line 1 at 38 Stop running programs done",
        "red", "line 2 at 55 Windows Temp folder pending", "bar 0..50", "purge temp", "bar 60..100",
        "black", "line 2 at 55 Windows Temp folder done",
        "red", "line 4 at 72 \\My Documents\\Temp pending", "bar 0..50", "purge \\My Documents\\Temp", "bar 60..100",
        "black", "line 4 at 72 \\My Documents\\Temp done",
        "red", "line 8 at 89 \\My Documents\\Temp1 pending", "bar 0..50", "purge \\My Documents\\Temp1", "bar 60..100",
        "black", "line 8 at 89 \\My Documents\\Temp1 done",
        "red", "line 16 at 106 IE cache pending", "bar 0..30", "registered 5", "bar 40..60", "fixed 5", "bar 70..100",
        "black", "line 16 at 106 IE cache done",
        "red", "line 32 at 123 IE history folder pending", "bar 0..30", "registered 6", "bar 40..60", "fixed 6", "bar 70..100",
        "black", "line 32 at 123 IE history folder done",
        "red", "line 64 at 140 IE addresses history (registry) pending", "bar 0..50", "address history", "bar 60..100",
        "black", "line 64 at 140 IE addresses history (registry) done",
        "red", "line 128 at 157 IE cookies pending", "bar 0..30", "registered 8", "bar 40..60", "fixed 8", "bar 70..100",
        "black", "line 128 at 157 IE cookies done",
        "red", "line 256 at 174 Dead registry keys pending", "bar 0..50", "dead keys", "bar 60..100",
        "black", "line 256 at 174 Dead registry keys done",
        "red", "line 512 at 191 Dead AppManager files pending", "bar 0..50", "dead appmgr", "bar 60..100",
        "black", "line 512 at 191 Dead AppManager files done",
        "red", "line 1024 at 208 Dead shortcuts pending", "bar 0..30", "start menu shortcuts", "bar 40..60",
        "start-up shortcuts", "bar 70..100", "black", "line 1024 at 208 Dead shortcuts done",
        "header Completed Tasks", "release dc", "bar hidden", "start enabled",
    };
    EXPECT_EQ(Folded(), expected);
    EXPECT_EQ(g_stats.tasksPerformed, 11);
    EXPECT_EQ(g_stats.applicationsClosed, 5);
    EXPECT_EQ(Count("sound"), 0) << "sound is off";
    EXPECT_EQ(g_pendingTasks, 0x8800) << "the reserved bit is never acted on";
}

TEST_F(CleaningRun, EmptyFolderPathIsSkippedWithoutTraceAndTheNextLineTakesItsPlace)
{
    Select(OPT_FOLDER1 | OPT_FOLDER2 | OPT_IE_ADDRESS_HISTORY | OPT_SOUND_ON);
    g_settings.folder1Path[0] = 0;
    RunCleaning(PAGE, &PAGE_OPS, &WORK);
    EXPECT_EQ(Count("line 4 at 38  pending"), 0);
    EXPECT_EQ(Count("line 8 at 38 \\My Documents\\Temp1 pending"), 1);
    EXPECT_EQ(Count("line 64 at 55 IE addresses history (registry) done"), 1);
    EXPECT_EQ(g_stats.tasksPerformed, 2);
    EXPECT_EQ(Count("sound"), 2) << "once per completed task";
    EXPECT_EQ(g_pendingTasks, 0x8000 | OPT_FOLDER1) << "the skipped task keeps its bit";

    /* A second Start without reloading the mask finds only that leftover bit. */
    g_log.clear();
    RunCleaning(PAGE, &PAGE_OPS, &WORK);
    EXPECT_EQ(g_stats.tasksPerformed, 0);
    EXPECT_EQ(Count("header Cleaning Progress"), 1);
    EXPECT_EQ(Count("header Completed Tasks"), 1);
    EXPECT_EQ(Count("bar shown"), 1);
    EXPECT_EQ(Count("bar hidden"), 1);
}

TEST_F(CleaningRun, NothingSelectedStillZeroesAndDrawsBothHeaders)
{
    Select(OPT_RESERVED);
    g_stats.filesDeleted = 42;
    g_stats.memoryAvailableMB = -1;
    RunCleaning(PAGE, &PAGE_OPS, &WORK);
    std::vector<std::string> expected = {
        "bar 0", "bar shown", "start disabled", "get dc", "transparent", "header Cleaning Progress",
        "header Completed Tasks", "release dc", "bar hidden", "start enabled",
    };
    EXPECT_EQ(g_log, expected);
    EXPECT_EQ(g_stats.filesDeleted, 0);
    EXPECT_EQ(g_stats.tasksPerformed, 0);
    EXPECT_GE(g_stats.memoryAvailableMB, 0.0) << "the memory was read";
}

TEST_F(CleaningRun, NoDrawingContextEndsBeforeAnyTaskButFreesThePage)
{
    Select(0x07FF);
    g_haveDC = false;
    g_stats.tasksPerformed = 9;
    RunCleaning(PAGE, &PAGE_OPS, &WORK);
    std::vector<std::string> expected = {
        "bar 0", "bar shown", "start disabled", "get dc", "bar hidden", "start enabled",
    };
    EXPECT_EQ(g_log, expected);
    EXPECT_EQ(g_stats.tasksPerformed, 0);
    EXPECT_EQ(g_pendingTasks, 0x07FF) << "no task ran, nothing was marked";
}

TEST_F(CleaningRun, NullPageDoesNothingAtAll)
{
    Select(0x07FF);
    g_stats.tasksPerformed = 9;
    RunCleaning(NULL, &PAGE_OPS, &WORK);
    EXPECT_TRUE(g_log.empty());
    EXPECT_EQ(g_stats.tasksPerformed, 9);
}
