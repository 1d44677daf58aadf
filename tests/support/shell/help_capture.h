/*
 * The help viewer's stand-in (helper_peghelp.exe) installed as
 * \Windows\peghelp.exe: each start writes its command line to
 * \Temp\peghelp.txt and then signals "KestrumTestHelpStarted".
 */
#ifndef KESTRUM_TESTS_HELP_CAPTURE_H
#define KESTRUM_TESTS_HELP_CAPTURE_H

#include <windows.h>
#include <string>

/* Installs the stand-in; the test fails if it cannot. */
void InstallHelpCapture(void);
/* Forgets the last start; call before what should start the viewer. */
void ArmHelpCapture(void);
/* The command line of the viewer started since ArmHelpCapture, waiting for
 * it; "<no viewer started>" when none came within the wait bound. */
std::wstring CapturedHelpLine(void);
/* Removes the stand-in. */
void RemoveHelpCapture(void);

#endif
