/*
 * Entry point of Kestrum.exe: everything else lives in the shell library.
 */
#include "shell/shell_state.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand)
{
    (void)previous;
    return KestrumMain(instance, commandLine, showCommand);
}
