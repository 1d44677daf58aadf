/*
 * Where the Windows CE loader enters Kestrum.exe, in place of the C runtime's
 * start-up. That start-up brings in floating-point set-up, an atexit table,
 * stream flushing and an error box, and with them imports that a device's
 * coredll.dll need not export; the loader refuses a program whose imports it
 * cannot all find. Kestrum needs none of it: its globals are constant, it
 * registers nothing to run at exit, and it allocates only with LocalAlloc.
 */
#include <windows.h>

/* The linker's list of static constructors: -1, the constructors, 0. */
typedef void (*StaticConstructor)(void);
extern "C" StaticConstructor __CTOR_LIST__[];

/* Runs them last first, as GCC's own start-up does. Kestrum has none today;
 * one added later would otherwise be skipped on the device alone. */
static void RunStaticConstructors(void)
{
    size_t count = 0;
    while (__CTOR_LIST__[count + 1])
        count++;
    for (size_t i = count; i > 0; --i)
        __CTOR_LIST__[i]();
}

/* The loader passes the module, no previous instance, the arguments (UTF-16,
 * without the program's name) and a show command; Kestrum shows its window
 * with SW_SHOW whatever it is given, and its status ends the process. */
extern "C" void WinMainCRTStartup(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand)
{
    (void)previous;
    (void)showCommand;
    RunStaticConstructors();
    ExitProcess((UINT)wWinMain(instance, NULL, commandLine, SW_SHOW));
}
