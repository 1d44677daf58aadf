/*
 * Start-up of Kestrum: the steps tests call one by one, and the whole program.
 */
#ifndef KESTRUM_SHELL_STARTUP_H
#define KESTRUM_SHELL_STARTUP_H

#include <windows.h>

/* Exit status of every start-up that ends early (another instance running,
 * no window class, no main window, no paint or activation). */
enum { EXIT_EARLY = 16 };

/* Start-up step 2: window title, class name, version text. */
void BuildShellTexts(void);

/* Start-up step 3: a capital S anywhere in the command line (case-sensitive). */
bool HasAutoStartFlag(const WCHAR *commandLine);

/* Start-up steps 5 to 7: the bold font, the two task icons, the strip
 * bitmaps and their pattern brushes, from g_shell.instance. */
void CreateDrawingObjects(void);

/* The whole program: start-up, message loop and clean-up. Returns the exit status. */
int KestrumMain(HINSTANCE instance, const WCHAR *commandLine, int showCommand);

#endif
