/*
 * The cleaning run and its progress step. The run zeroes the statistics,
 * reads the free storage before and after, computes the age cutoff, and
 * works through the pending tasks with a red line, the bar in steps of ten,
 * and a black line with the done icon as each task completes. What each task
 * shows and does comes from its row of the task table.
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

/* Progress step S(first, last) of a task whose line shows text. */
void ProgressStep(RunContext &run, const CleaningTask &task, const WCHAR *text, int first, int last)
{
    const CleaningPageOps *ops = run.ops;
    if (first == 0) {
        g_stats.tasksPerformed++;
        ops->taskWorking(run.page, task.bit, text);
    }
    for (int k = first; k <= last; k++) {
        ops->setProgress(run.page, 10 * k);
        ops->pause(10);
    }
    if (last != 10)
        return;

    g_pendingTasks &= (WORD)~task.bit;
    if (g_settings.flags & OPT_SOUND_ON)
        ops->playCompletionSound();
    ops->taskDone(run.page, task.bit, text);
}

/* The first (0) or second (1) piece of a task's work; only a task whose
 * phases are thirds has a second piece. */
void DoTaskWork(RunContext &run, const CleaningTask &task, int piece, const WCHAR *text)
{
    const CleaningWorkOps *work = run.work;
    switch (task.work) {
    case WORK_CLOSE_PROGRAMS:
        g_stats.applicationsClosed = work->closePrograms(run.page, g_settings.flags & OPT_KEEP_ACTIVESYNC);
        break;
    case WORK_PURGE_WINDOWS_TEMP:
        work->purgeWindowsTemp();
        break;
    case WORK_PURGE_LINE_FOLDER:
        work->purgeFolder(text);
        break;
    case WORK_INTERNET_FOLDERS:
        if (piece == 0)
            work->purgeRegisteredFolder(*task.folders);
        else
            work->purgeFixedFolder(*task.folders);
        break;
    case WORK_ADDRESS_HISTORY:
        work->deleteAddressHistory();
        break;
    case WORK_DEAD_REGISTRY_KEYS:
        work->sweepDeadRegistryKeys();
        break;
    case WORK_DEAD_APPMGR_FILES:
        work->cleanDeadAppManagerFiles();
        break;
    case WORK_DEAD_SHORTCUTS:
        if (piece == 0)
            work->sweepStartMenuShortcuts();
        else
            work->sweepStartUpShortcuts(run.page);
        break;
    case WORK_NONE:
        break;
    }
}

/* The sequence of one task: its work between the progress steps of its phase split. */
void RunTask(RunContext &run, const CleaningTask &task)
{
    WCHAR folder[PATH_CHARS];
    const WCHAR *text = TaskLineText(task, folder);
    /* An empty folder path: not counted, not drawn, and its bit stays set. */
    if (!text[0])
        return;

    switch (task.phases) {
    case PHASES_WORK_FIRST:
        DoTaskWork(run, task, 0, text);
        ProgressStep(run, task, text, 0, 5);
        run.ops->pause(300);
        ProgressStep(run, task, text, 6, 10);
        break;
    case PHASES_HALVES:
        ProgressStep(run, task, text, 0, 5);
        DoTaskWork(run, task, 0, text);
        ProgressStep(run, task, text, 6, 10);
        break;
    case PHASES_THIRDS:
        ProgressStep(run, task, text, 0, 3);
        DoTaskWork(run, task, 0, text);
        ProgressStep(run, task, text, 4, 6);
        DoTaskWork(run, task, 1, text);
        ProgressStep(run, task, text, 7, 10);
        break;
    case PHASES_NONE:
        break;
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
        for (int i = 0; i < TASK_COUNT; i++) {
            const CleaningTask &task = g_tasks[i];
            if (IsListedTask(task) && (g_pendingTasks & task.bit))
                RunTask(run, task);
        }
        ops->closeLines(page);
        TakeMemoryReading();
    }
    ops->runOver(page);
}
