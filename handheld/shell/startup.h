/*
 * Start-up and clean-up of Kestrum, and the whole program between them.
 * The program and the tests that build the main window in their own process
 * start and stop the shell through the same two routines.
 */
#ifndef KESTRUM_SHELL_STARTUP_H
#define KESTRUM_SHELL_STARTUP_H

#include <windows.h>

/* Exit status of every start-up that ends early (another instance running,
 * no window class, no main window, no paint or activation). */
enum { EXIT_EARLY = 16 };

/* The window title, class name and version text of the shell state. */
void BuildShellTexts(void);

/* A capital S anywhere in the command line (case-sensitive). */
bool HasAutoStartFlag(const WCHAR *commandLine);

/* The bold font, the two task icons, the four strip bitmaps and their
 * pattern brushes, from g_shell.instance; and their release. */
void CreateDrawingObjects(void);
void ReleaseDrawingObjects(void);

/* Start-up in its fixed order up to the main window: the names, the
 * auto-start flag, the single-instance check, the drawing objects, the
 * settings, the task table, zero statistics and a first memory reading, the
 * window class, and the main window with its menu bar and sheet. Returns
 * false when start-up must end: another instance runs (and has been brought
 * forward) before anything is made, or the class or the window could not be
 * made. */
bool StartShell(HINSTANCE instance, const WCHAR *commandLine);

/* Releases whatever StartShell acquired: the eleven drawing objects, the
 * main window and its class. Harmless for what was never made. */
void StopShell(void);

/* The whole program: start-up, message loop and clean-up. Returns the exit status. */
int KestrumMain(HINSTANCE instance, const WCHAR *commandLine, int showCommand);

#endif
