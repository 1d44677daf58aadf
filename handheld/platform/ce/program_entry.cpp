/*
 * The handheld's C runtime enters the program at WinMain, whose command line
 * is UTF-16 there already; the program's entry is the desktop's wWinMain.
 */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand)
{
    return wWinMain(instance, previous, commandLine, showCommand);
}
