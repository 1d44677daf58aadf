/*
 * The cleaning run over a recording table of operations: the exact order of
 * task lines, progress, pauses, sounds and task work, and what the run leaves
 * in the mask and the statistics. Where the lines land is the Progress page's
 * (tests/shell/progress).
 */
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "engine/cleaning_run.h"
#include "engine/cleaning_state.h"
#include "engine/internet_history.h"
#include "settings/record/settings_record.h"

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

void Log(const std::string &line) { g_log.push_back(line); }

void Starting(HWND page) { Log(page == PAGE ? "starting" : "starting page?"); }
void Over(HWND page) { Log(page == PAGE ? "over" : "over page?"); }
bool OpenLines(HWND) { Log("open lines"); return g_haveDC; }
void CloseLines(HWND) { Log("close lines"); }
void Line(const char *what, WORD bit, const WCHAR *text)
{
    Log(what + std::to_string(bit) + " " + Narrow(text) + ((g_pendingTasks & bit) ? " pending" : " done"));
}
void Working(HWND, WORD bit, const WCHAR *text) { Line("working ", bit, text); }
void Done(HWND, WORD bit, const WCHAR *text) { Line("done ", bit, text); }
void Progress(HWND, int position) { Log("bar " + std::to_string(position)); }
void Pause(DWORD ms) { Log("pause " + std::to_string(ms)); }
void Sound() { Log("sound"); }
int Close(HWND owner, DWORD keep) { Log("close " + std::to_string(keep) + (owner == PAGE ? "" : " owner?")); return g_closeResult; }
void PurgeTemp() { Log("purge temp"); }
void Purge(const WCHAR *path) { Log("purge " + Narrow(path)); }
void Registered(const InternetFolders &f) { Log("registered " + Narrow(f.shellFolderValue)); }
void Fixed(const InternetFolders &f) { Log("fixed " + Narrow(f.shellFolderValue)); }
void Address() { Log("address history"); }
void Keys() { Log("dead keys"); }
void AppMgr() { Log("dead appmgr"); }
void StartMenu() { Log("start menu shortcuts"); }
void StartUp(HWND) { Log("start-up shortcuts"); }

const CleaningPageOps PAGE_OPS = {
    Starting, Over, OpenLines, CloseLines, Working, Done, Progress, Pause, Sound,
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
        "starting", "open lines",
        "close 262144",
        "working 1 Stop running programs pending", "bar 0..50",
        "pause 300",
        "bar 60..100", "sound", "done 1 Stop running programs done",
        "close lines", "over",
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
        "starting", "open lines",
        "close 0", "working 1 Stop running programs pending", "bar 0..50", "pause 300", "bar 60..100",
        "done 1 Stop running programs done",
        "working 2 Windows Temp folder pending", "bar 0..50", "purge temp", "bar 60..100",
        "done 2 Windows Temp folder done",
        "working 4 \\My Documents\\Temp pending", "bar 0..50", "purge \\My Documents\\Temp", "bar 60..100",
        "done 4 \\My Documents\\Temp done",
        "working 8 \\My Documents\\Temp1 pending", "bar 0..50", "purge \\My Documents\\Temp1", "bar 60..100",
        "done 8 \\My Documents\\Temp1 done",
        "working 16 IE cache pending", "bar 0..30", "registered Cache", "bar 40..60", "fixed Cache", "bar 70..100",
        "done 16 IE cache done",
        "working 32 IE history folder pending", "bar 0..30", "registered History", "bar 40..60", "fixed History",
        "bar 70..100", "done 32 IE history folder done",
        "working 64 IE addresses history (registry) pending", "bar 0..50", "address history", "bar 60..100",
        "done 64 IE addresses history (registry) done",
        "working 128 IE cookies pending", "bar 0..30", "registered Cookies", "bar 40..60", "fixed Cookies",
        "bar 70..100", "done 128 IE cookies done",
        "working 256 Dead registry keys pending", "bar 0..50", "dead keys", "bar 60..100",
        "done 256 Dead registry keys done",
        "working 512 Dead AppManager files pending", "bar 0..50", "dead appmgr", "bar 60..100",
        "done 512 Dead AppManager files done",
        "working 1024 Dead shortcuts pending", "bar 0..30", "start menu shortcuts", "bar 40..60",
        "start-up shortcuts", "bar 70..100", "done 1024 Dead shortcuts done",
        "close lines", "over",
    };
    EXPECT_EQ(Folded(), expected);
    EXPECT_EQ(g_stats.tasksPerformed, 11);
    EXPECT_EQ(g_stats.applicationsClosed, 5);
    EXPECT_EQ(Count("sound"), 0) << "sound is off";
    EXPECT_EQ(g_pendingTasks, 0x8800) << "the reserved bit is never acted on";
}

TEST_F(CleaningRun, EmptyFolderPathIsSkippedWithoutTraceAndTheNextTaskFollows)
{
    Select(OPT_FOLDER1 | OPT_FOLDER2 | OPT_IE_ADDRESS_HISTORY | OPT_SOUND_ON);
    g_settings.folder1Path[0] = 0;
    RunCleaning(PAGE, &PAGE_OPS, &WORK);
    EXPECT_EQ(Count("working 4  pending"), 0);
    EXPECT_EQ(Count("working 8 \\My Documents\\Temp1 pending"), 1);
    EXPECT_EQ(Count("done 64 IE addresses history (registry) done"), 1);
    EXPECT_EQ(g_stats.tasksPerformed, 2);
    EXPECT_EQ(Count("sound"), 2) << "once per completed task";
    EXPECT_EQ(g_pendingTasks, 0x8000 | OPT_FOLDER1) << "the skipped task keeps its bit";

    /* A second Start without reloading the mask finds only that leftover bit. */
    g_log.clear();
    RunCleaning(PAGE, &PAGE_OPS, &WORK);
    EXPECT_EQ(g_stats.tasksPerformed, 0);
    EXPECT_EQ(Count("open lines"), 1);
    EXPECT_EQ(Count("close lines"), 1);
    EXPECT_EQ(Count("starting"), 1);
    EXPECT_EQ(Count("over"), 1);
}

TEST_F(CleaningRun, NothingSelectedStillZeroesAndDrawsBothHeaders)
{
    Select(OPT_RESERVED);
    g_stats.filesDeleted = 42;
    g_stats.memoryAvailableMB = -1;
    RunCleaning(PAGE, &PAGE_OPS, &WORK);
    std::vector<std::string> expected = {
        "starting", "open lines",
        "close lines", "over",
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
        "starting", "open lines", "over",
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
