/*
 * The one bound on every wait of the tests. A wait always ends on its
 * condition (a window, an event, a process end); this bound only stops a run
 * that hangs, so it is generous for a loaded machine.
 */
#ifndef KESTRUM_TESTS_WAIT_BOUND_H
#define KESTRUM_TESTS_WAIT_BOUND_H

#include <windows.h>

const DWORD WAIT_BOUND_MS = 120000;

#endif
