/*
 * Kestrum's resources, installing and starting
 * Kestrum.exe in the device, waiting for its window and its end.
 */
#ifndef KESTRUM_TESTS_KESTRUM_PROGRAM_H
#define KESTRUM_TESTS_KESTRUM_PROGRAM_H

#include <windows.h>
#include "message_recorder.h"

/* Kestrum.exe's resources (its copy helper_kestrum.exe, loaded as data). */
HMODULE KestrumResources(void);

/* Copies Kestrum to \Program Files\Kestrum\Kestrum.exe, where the handheld has it. */
void InstallKestrum(void);

/* Starts the installed Kestrum with arguments; false if it could not start. */
bool StartKestrum(const wchar_t *arguments, PROCESS_INFORMATION *process);

/* Waits until Kestrum's main window exists and its message loop answers;
 * null when the process ends first. */
HWND WaitForMainWindow(const PROCESS_INFORMATION &process);

/* Waits for the process to end (failing the test after a generous bound)
 * and returns its exit status; closes the handles. */
DWORD WaitForExit(PROCESS_INFORMATION &process);


#endif
