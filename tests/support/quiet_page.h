/*
 * Page operations for running the cleaning without a page: nothing is drawn
 * or paused, and what a test wants to know is recorded: the task lines drawn
 * as complete, and how often the completion sound was started.
 */
#ifndef KESTRUM_TESTS_QUIET_PAGE_H
#define KESTRUM_TESTS_QUIET_PAGE_H

#include <string>
#include <vector>
#include "engine/cleaning_run.h"

struct QuietPageLog {
    std::vector<std::wstring> completed;
    int sounds = 0;
};

/* The operations record into log until the next call. */
const CleaningPageOps *QuietPageOps(QuietPageLog *log);

/* A page handle for the run that no window has. */
HWND QuietPage(void);

#endif
