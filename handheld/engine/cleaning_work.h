/*
 * The real work of the cleaning tasks, for the run: the program closer, the
 * folder purges, the Internet-history tasks and the dead-entry sweeps.
 */
#ifndef KESTRUM_ENGINE_CLEANING_WORK_H
#define KESTRUM_ENGINE_CLEANING_WORK_H

#include "engine/cleaning_run.h"

extern const CleaningWorkOps CLEANING_WORK;

#endif
