/*
 * The cleaning task table: the twelve tasks in their fixed order, which is at
 * once the order of the run, of the Progress page's lines, of the Options
 * page's boxes and of the task bits of the settings flags. Everything that
 * differs from task to task is a column of its row: the run, the Progress
 * page and the Options page read the row and never ask which task it is.
 */
#ifndef KESTRUM_ENGINE_TASK_TABLE_H
#define KESTRUM_ENGINE_TASK_TABLE_H

#include <windows.h>

enum { TASK_COUNT = 12 };

/* What a task's line shows. */
enum TaskLine {
    LINE_NONE,         /* no line at all */
    LINE_NAME,         /* the task's name */
    LINE_FOLDER1_PATH, /* the settings' first folder path, also the folder purged */
    LINE_FOLDER2_PATH, /* the second one */
};

/* How the progress bar runs through a task, in tenths, around its work. */
enum TaskPhases {
    PHASES_NONE,       /* the task never runs */
    PHASES_HALVES,     /* 0-5, the work, 6-10 */
    PHASES_WORK_FIRST, /* the work, 0-5, a pause of 300 ms, 6-10 */
    PHASES_THIRDS,     /* 0-3, the work's first piece, 4-6, its second, 7-10 */
};

/* The work of a task. */
enum TaskWork {
    WORK_NONE,
    WORK_CLOSE_PROGRAMS,
    WORK_PURGE_WINDOWS_TEMP,
    WORK_PURGE_LINE_FOLDER, /* the folder path the line shows */
    WORK_INTERNET_FOLDERS,  /* the registered folder, then the fixed one */
    WORK_ADDRESS_HISTORY,
    WORK_DEAD_REGISTRY_KEYS,
    WORK_DEAD_APPMGR_FILES, /* the sweep, then the install folder purge */
    WORK_DEAD_SHORTCUTS,    /* the start menu, then the start-up folder */
};

struct InternetFolders;

/* One row; task n (from 1) is bit n-1 of the settings flags. */
struct CleaningTask {
    WORD bit;
    int checkbox;                   /* its box on the Options page */
    const WCHAR *name;              /* set by FillTaskTable */
    TaskLine line;
    TaskPhases phases;
    TaskWork work;
    const InternetFolders *folders; /* for WORK_INTERNET_FOLDERS */
};

/* The table of the process; the names are filled at start-up. */
extern CleaningTask g_tasks[TASK_COUNT];

void FillTaskTable(void);

/* Whether the run works on the task and the Progress page lists it: every
 * task but the reserved last one, which is only a bit, a hidden box and a name. */
bool IsListedTask(const CleaningTask &task);

/* The text of the task's line: its name, or a folder path of the settings
 * copied into folder (PATH_CHARS characters) and cut to 259 characters;
 * NULL for a task without a line. */
const WCHAR *TaskLineText(const CleaningTask &task, WCHAR *folder);

/* The task whose Options box has this id, or NULL. */
const CleaningTask *TaskOfCheckbox(int id);

#endif
