/*
 * Messages between the closer tests and helper_windows.exe. The test posts a
 * barrier behind the close requests; since a thread's posted messages arrive
 * in order, the helper's answer proves every earlier request was handled.
 */
#ifndef KESTRUM_TESTS_CLOSER_HELPER_PROTOCOL_H
#define KESTRUM_TESTS_CLOSER_HELPER_PROTOCOL_H

#include <windows.h>

/* Posted to a helper window; wParam: the window that wants the answer. */
#define HELPER_BARRIER (WM_APP + 1)
/* The answer, posted back; wParam: the helper window, lParam: how many
 * WM_CLOSE messages that window has received so far. */
#define HELPER_REPORT (WM_APP + 2)

#endif
