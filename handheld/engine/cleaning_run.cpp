/*
 * The cleaning run and its progress step. The run zeroes the statistics,
 * reads the free storage before and after, computes the age cutoff, and
 * works through the pending tasks with a red line, the bar in steps of ten,
 * and a black line with the done icon as each task completes.
 */
#include "engine/cleaning_run.h"
#include "engine/cleaning_state.h"
#include "settings/settings_record.h"
#include "platform/bounded_text.h"

namespace {

/* What one run holds while it works through the tasks. */
struct RunContext {
    const CleaningPageOps *ops;
    const CleaningWorkOps *work;
    HWND page;
    HWND bar;
    HDC dc;
    RECT row;
};

/* Progress step S(first, last) of the task whose bit is given; returns the
 * height by which the next task line moves down (0 unless last is 10). */
int ProgressStep(RunContext &run, WORD bit, const WCHAR *text, int first, int last)
{
    const CleaningPageOps *ops = run.ops;
    if (first == 0) {
        g_stats.tasksPerformed++;
        ops->setTextColor(run.dc, RUN_RED);
        ops->taskLine(run.dc, run.row, bit, text);
    }
    for (int k = first; k <= last; k++) {
        ops->setBarPosition(run.bar, 10 * k);
        ops->pause(10);
    }
    if (last != 10)
        return 0;

    g_pendingTasks &= (WORD)~bit;
    if (g_settings.flags & OPT_SOUND_ON)
        ops->playCompletionSound();
    ops->setTextColor(run.dc, RUN_BLACK);
    return ops->taskLine(run.dc, run.row, bit, text);
}

/* The sequence of one task, with its phase splits. */
void RunTask(RunContext &run, int task)
{
    const CleaningPageOps *ops = run.ops;
    const CleaningWorkOps *work = run.work;
    WORD bit = g_tasks[task - 1].bit;
    const WCHAR *text = g_tasks[task - 1].name;
    WCHAR folder[PATH_CHARS];
    int height = 0;

    switch (task) {
    case 1:
        g_stats.applicationsClosed = work->closePrograms(run.page, g_settings.flags & OPT_KEEP_ACTIVESYNC);
        ProgressStep(run, bit, text, 0, 5);
        ops->pause(300);
        height = ProgressStep(run, bit, text, 6, 10);
        break;
    case 2:
        ProgressStep(run, bit, text, 0, 5);
        work->purgeWindowsTemp();
        height = ProgressStep(run, bit, text, 6, 10);
        break;
    case 3:
    case 4:
        FolderPathText(task == 3 ? g_settings.folder1Path : g_settings.folder2Path, folder);
        text = folder;
        /* An empty path: not counted, not drawn, and its bit stays set. */
        if (!text[0])
            return;
        ProgressStep(run, bit, text, 0, 5);
        work->purgeFolder(text);
        height = ProgressStep(run, bit, text, 6, 10);
        break;
    case 5:
    case 6:
    case 8:
        ProgressStep(run, bit, text, 0, 3);
        work->purgeRegisteredFolder(task);
        ProgressStep(run, bit, text, 4, 6);
        work->purgeFixedFolder(task);
        height = ProgressStep(run, bit, text, 7, 10);
        break;
    case 7:
        ProgressStep(run, bit, text, 0, 5);
        work->deleteAddressHistory();
        height = ProgressStep(run, bit, text, 6, 10);
        break;
    case 9:
        ProgressStep(run, bit, text, 0, 5);
        work->sweepDeadRegistryKeys();
        height = ProgressStep(run, bit, text, 6, 10);
        break;
    case 10:
        ProgressStep(run, bit, text, 0, 5);
        work->cleanDeadAppManagerFiles();
        height = ProgressStep(run, bit, text, 6, 10);
        break;
    case 11:
        ProgressStep(run, bit, text, 0, 3);
        work->sweepStartMenuShortcuts();
        ProgressStep(run, bit, text, 4, 6);
        work->sweepStartUpShortcuts(run.page);
        height = ProgressStep(run, bit, text, 7, 10);
        break;
    default:
        return; /* task 12 has no work */
    }
    run.row.top += height;
}

} // namespace

void RunCleaning(HWND page, const CleaningPageOps *ops, const CleaningWorkOps *work)
{
    if (!page)
        return;

    RunContext run;
    run.ops = ops;
    run.work = work;
    run.page = page;
    run.bar = ops->dialogItem(page, IDC_PROGRESS_BAR);
    HWND start = ops->dialogItem(page, IDC_PROGRESS_START);
    ops->setBarPosition(run.bar, 0);
    ops->showWindow(run.bar, true);
    ops->enableWindow(start, false);

    ZeroStatistics();
    TakeMemoryReading();
    ComputeAgeCutoff(g_settings.ageLimitDays);

    run.dc = ops->getDC(page);
    if (run.dc) {
        ops->clientRect(page, &run.row);
        run.row.top += ROWS_TOP;
        ops->setTransparent(run.dc);
        g_pendingTasks |= PENDING_RUN_STARTED;
        ops->headerBand(page, run.dc, RUN_HEADER_BLUE, L"Cleaning Progress");

        for (int task = 1; task <= 11; task++) {
            if (g_pendingTasks & g_tasks[task - 1].bit)
                RunTask(run, task);
        }

        ops->headerBand(page, run.dc, RUN_HEADER_BLUE, L"Completed Tasks");
        ops->releaseDC(page, run.dc);
        TakeMemoryReading();
    }
    /* Without a drawing context the run ends before any task, but the page
     * must not be left with a shown bar and a dead Start button. */
    ops->showWindow(run.bar, false);
    ops->enableWindow(start, true);
}
