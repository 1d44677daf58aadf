/* The cleaning task table and the questions the run and the pages ask of it. */
#include "engine/task_table.h"
#include "engine/internet_history.h"
#include "settings/record/settings_record.h"
#include "resources/resource.h"

/* Bit, Options box, name (set at start-up), line, phases, work, Internet folders. */
CleaningTask g_tasks[TASK_COUNT] = {
    { OPT_STOP_PROGRAMS, IDC_OPTIONS_STOP_PROGRAMS, NULL, LINE_NAME, PHASES_WORK_FIRST, WORK_CLOSE_PROGRAMS, NULL },
    { OPT_WINDOWS_TEMP, IDC_OPTIONS_WINDOWS_TEMP, NULL, LINE_NAME, PHASES_HALVES, WORK_PURGE_WINDOWS_TEMP, NULL },
    { OPT_FOLDER1, IDC_OPTIONS_FOLDER1, NULL, LINE_FOLDER1_PATH, PHASES_HALVES, WORK_PURGE_LINE_FOLDER, NULL },
    { OPT_FOLDER2, IDC_OPTIONS_FOLDER2, NULL, LINE_FOLDER2_PATH, PHASES_HALVES, WORK_PURGE_LINE_FOLDER, NULL },
    { OPT_IE_CACHE, IDC_OPTIONS_IE_CACHE, NULL, LINE_NAME, PHASES_THIRDS, WORK_INTERNET_FOLDERS, &CACHE_FOLDERS },
    { OPT_IE_HISTORY, IDC_OPTIONS_IE_HISTORY, NULL, LINE_NAME, PHASES_THIRDS, WORK_INTERNET_FOLDERS, &HISTORY_FOLDERS },
    { OPT_IE_ADDRESS_HISTORY, IDC_OPTIONS_IE_ADDRESSES, NULL, LINE_NAME, PHASES_HALVES, WORK_ADDRESS_HISTORY, NULL },
    { OPT_IE_COOKIES, IDC_OPTIONS_IE_COOKIES, NULL, LINE_NAME, PHASES_THIRDS, WORK_INTERNET_FOLDERS, &COOKIE_FOLDERS },
    { OPT_DEAD_REGISTRY_KEYS, IDC_OPTIONS_DEAD_KEYS, NULL, LINE_NAME, PHASES_HALVES, WORK_DEAD_REGISTRY_KEYS, NULL },
    { OPT_DEAD_APPMGR_FILES, IDC_OPTIONS_DEAD_APPMGR, NULL, LINE_NAME, PHASES_HALVES, WORK_DEAD_APPMGR_FILES, NULL },
    { OPT_DEAD_SHORTCUTS, IDC_OPTIONS_DEAD_SHORTCUTS, NULL, LINE_NAME, PHASES_THIRDS, WORK_DEAD_SHORTCUTS, NULL },
    { OPT_RESERVED, IDC_OPTIONS_RESERVED, NULL, LINE_NONE, PHASES_NONE, WORK_NONE, NULL },
};

/* The task names, in table order; the Options page's labels differ in places. */
static const WCHAR *const s_taskNames[TASK_COUNT] = {
    L"Stop running programs",
    L"Windows Temp folder",
    L"My temporary folder 1",
    L"My temporary folder 2",
    L"IE cache",
    L"IE history folder",
    L"IE addresses history (registry)",
    L"IE cookies",
    L"Dead registry keys",
    L"Dead AppManager files",
    L"Dead shortcuts",
    L"Reserved",
};

void FillTaskTable(void)
{
    for (int i = 0; i < TASK_COUNT; i++)
        g_tasks[i].name = s_taskNames[i];
}

bool IsListedTask(const CleaningTask &task)
{
    return task.line != LINE_NONE;
}

const WCHAR *TaskLineText(const CleaningTask &task, WCHAR *folder)
{
    switch (task.line) {
    case LINE_NAME:
        return task.name;
    case LINE_FOLDER1_PATH:
        FolderPathText(g_settings.folder1Path, folder);
        return folder;
    case LINE_FOLDER2_PATH:
        FolderPathText(g_settings.folder2Path, folder);
        return folder;
    case LINE_NONE:
        break;
    }
    return NULL;
}

const CleaningTask *TaskOfCheckbox(int id)
{
    for (int i = 0; i < TASK_COUNT; i++) {
        if (g_tasks[i].checkbox == id)
            return &g_tasks[i];
    }
    return NULL;
}
