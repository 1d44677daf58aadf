/*
 * The launcher's one straight run: find the application manager through its
 * App Paths key, start it with the two install descriptions of the current
 * directory, copy the three companion files into the system directory and
 * start regsvr32 on the last of them. Every platform call goes through ops.
 */
#ifndef DESKINSTALL_SETUP_RUN_H
#define DESKINSTALL_SETUP_RUN_H

#include "setup_operations.h"

/* Exit codes of the run. */
enum {
    SETUP_EXIT_DONE = 0,          /* regsvr32 started, or the registered library could not be copied */
    SETUP_EXIT_NO_KEY = 1,        /* the App Paths key cannot be opened */
    SETUP_EXIT_NO_VALUE = 2,      /* its value, or a directory, cannot be read */
    SETUP_EXIT_NOT_STARTED = 3    /* the application manager or regsvr32 cannot be started */
};

/* Runs every step and returns the exit code. The command line plays no part. */
int RunSetup(const SetupOperations &ops);

#endif
