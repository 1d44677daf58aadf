/*
 * The test program's own window in closer tests. Titled like one of
 * Kestrum's windows, it counts the close requests it receives without ever
 * obeying them, and answers the helpers' barrier with that count; the
 * helpers' answers to a barrier are collected here too.
 */
#ifndef KESTRUM_TESTS_OBSERVER_WINDOW_H
#define KESTRUM_TESTS_OBSERVER_WINDOW_H

#include <windows.h>
#include <map>

/* A visible top-level window of a class of its own. */
HWND CreateObserverWindow(const wchar_t *className, const wchar_t *title);

/* Close requests the observer window has received. */
extern LONG g_observerCloses;

/* Each barrier answer: window -> close requests it had received by then. */
extern std::map<HWND, LONG> g_helperReports;

/* Waits up to 50 ms for messages and dispatches all that are waiting. */
void PumpOnce(void);

#endif
