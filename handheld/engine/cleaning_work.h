/*
 * The real work of the cleaning tasks, for the run's table of operations:
 * the program closer, the folder purges, the Internet-history tasks and the
 * dead-entry sweeps. The page side of the table is the Progress page's.
 */
#ifndef KESTRUM_ENGINE_CLEANING_WORK_H
#define KESTRUM_ENGINE_CLEANING_WORK_H

#include "engine/cleaning_run.h"

/* Fills the work entries of ops; the page and drawing entries stay as they are. */
void SetCleaningWork(CleaningRunOps *ops);

#endif
