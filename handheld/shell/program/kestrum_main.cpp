/*
 * Entry point of Kestrum.exe: everything else lives in the shell library.
 */
#include "shell/startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand)
{
    (void)previous;
    return KestrumMain(instance, commandLine, showCommand);
}
