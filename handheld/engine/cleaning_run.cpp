/*
 * The cleaning run and its progress step. The run zeroes the statistics,
 * reads the free storage before and after, computes the age cutoff, and
 * works through the pending tasks with a red line, the bar in steps of ten,
 * and a black line with the done icon as each task completes.
 */
#include "engine/cleaning_run.h"
#include "engine/cleaning_state.h"
#include "settings/record/settings_record.h"
#include "common/bounded_text.h"

namespace {

/* What one run holds while it works through the tasks. */
struct RunContext {
    const CleaningPageOps *ops;
    const CleaningWorkOps *work;
    HWND page;
};

/* Progress step S(first, last) of the task whose bit is given. */
void ProgressStep(RunContext &run, WORD bit, const WCHAR *text, int first, int last)
{
    const CleaningPageOps *ops = run.ops;
    if (first == 0) {
        g_stats.tasksPerformed++;
        ops->taskWorking(run.page, bit, text);
    }
    for (int k = first; k <= last; k++) {
        ops->setProgress(run.page, 10 * k);
        ops->pause(10);
    }
    if (last != 10)
        return;

    g_pendingTasks &= (WORD)~bit;
    if (g_settings.flags & OPT_SOUND_ON)
        ops->playCompletionSound();
    ops->taskDone(run.page, bit, text);
}

/* Work part 0 or 1 of a task; the first task's work is its own. */
void TaskWork(RunContext &run, int task, int part, const WCHAR *text)
{
    const CleaningWorkOps *work = run.work;
    switch (task) {
    case 2:
        work->purgeWindowsTemp();
        break;
    case 3:
    case 4:
        work->purgeFolder(text);
        break;
    case 5:
    case 6:
    case 8:
        if (part == 0)
            work->purgeRegisteredFolder(task);
        else
            work->purgeFixedFolder(task);
        break;
    case 7:
        work->deleteAddressHistory();
        break;
    case 9:
        work->sweepDeadRegistryKeys();
        break;
    case 10:
        work->cleanDeadAppManagerFiles();
        break;
    case 11:
        if (part == 0)
            work->sweepStartMenuShortcuts();
        else
            work->sweepStartUpShortcuts(run.page);
        break;
    }
}

/* The sequence of one task, with its phase splits: S(0,5) work S(6,10) for a
 * task of one work part, S(0,3) work S(4,6) work S(7,10) for one of two. */
void RunTask(RunContext &run, int task)
{
    WORD bit = g_tasks[task - 1].bit;
    const WCHAR *text = g_tasks[task - 1].name;
    WCHAR folder[PATH_CHARS];

    if (task == 1) {
        g_stats.applicationsClosed = run.work->closePrograms(run.page, g_settings.flags & OPT_KEEP_ACTIVESYNC);
        ProgressStep(run, bit, text, 0, 5);
        run.ops->pause(300);
        ProgressStep(run, bit, text, 6, 10);
        return;
    }
    if (task == 3 || task == 4) {
        FolderPathText(task == 3 ? g_settings.folder1Path : g_settings.folder2Path, folder);
        text = folder;
        /* An empty path: not counted, not drawn, and its bit stays set. */
        if (!text[0])
            return;
    }
    if (task == 12)
        return; /* the reserved task has no work */

    if (task == 5 || task == 6 || task == 8 || task == 11) {
        ProgressStep(run, bit, text, 0, 3);
        TaskWork(run, task, 0, text);
        ProgressStep(run, bit, text, 4, 6);
        TaskWork(run, task, 1, text);
        ProgressStep(run, bit, text, 7, 10);
    } else {
        ProgressStep(run, bit, text, 0, 5);
        TaskWork(run, task, 0, text);
        ProgressStep(run, bit, text, 6, 10);
    }
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
    ops->runStarting(page);

    ZeroStatistics();
    TakeMemoryReading();
    ComputeAgeCutoff(g_settings.ageLimitDays);

    /* Without the lines the run ends before any task, but the page must not
     * be left with a shown bar and a dead Start button. */
    if (ops->openLines(page)) {
        g_pendingTasks |= PENDING_RUN_STARTED;
        for (int task = 1; task <= 11; task++) {
            if (g_pendingTasks & g_tasks[task - 1].bit)
                RunTask(run, task);
        }
        ops->closeLines(page);
        TakeMemoryReading();
    }
    ops->runOver(page);
}
