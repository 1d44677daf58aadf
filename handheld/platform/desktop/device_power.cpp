/*
 * Soft reset and power off of the emulated device.
 *
 * A soft reset ends the program without any clean-up of its own and then
 * starts the start-up folder's shortcuts. The order matters: with "Run at
 * Soft Reset" a shortcut starts Kestrum again, and a new Kestrum that still
 * found the old main window would bring it forward and end with status 16.
 * So the program's windows go first, then the shortcuts are started, then
 * the process ends. The windows are taken down with their procedures
 * replaced by the default one, so that nothing of the program runs on the
 * way out (a main window losing activation would otherwise save the
 * settings); what the device sees is the program ending at once, as on a
 * reset. Destroying the windows on this thread is synchronous, so no new
 * instance can see them; no helper process or waiting is needed.
 */
#include "platform/device_power.h"
#include "platform/startup_programs.h"

enum { MAX_PROGRAM_WINDOWS = 64 };

struct WindowList {
    HWND windows[MAX_PROGRAM_WINDOWS];
    int count;
};

static BOOL CALLBACK SilenceWindow(HWND window, LPARAM unused)
{
    (void)unused;
    SetWindowLongPtrW(window, GWLP_WNDPROC, (LONG_PTR)DefWindowProcW);
    return TRUE;
}

static BOOL CALLBACK CollectWindow(HWND window, LPARAM param)
{
    WindowList *list = (WindowList *)param;
    if (list->count < MAX_PROGRAM_WINDOWS)
        list->windows[list->count++] = window;
    return TRUE;
}

void PlatformRemoveThreadWindows(void)
{
    /* A full list may have left windows behind: go round again, as long as
     * a round still takes some down. */
    WindowList list;
    int destroyed;
    do {
        list.count = 0;
        destroyed = 0;
        EnumThreadWindows(GetCurrentThreadId(), CollectWindow, (LPARAM)&list);
        for (int i = 0; i < list.count; ++i) {
            EnumChildWindows(list.windows[i], SilenceWindow, 0);
            SilenceWindow(list.windows[i], 0);
        }
        for (int i = 0; i < list.count; ++i) {
            if (IsWindow(list.windows[i]) && DestroyWindow(list.windows[i]))
                ++destroyed;
        }
    } while (list.count == MAX_PROGRAM_WINDOWS && destroyed > 0);
}

BOOL PlatformKernelRequest(DWORD code, void *input, DWORD inputSize, void *output, DWORD outputSize,
                           DWORD *bytesReturned)
{
    (void)input;
    (void)inputSize;
    (void)output;
    (void)outputSize;
    if (bytesReturned)
        *bytesReturned = 0;
    if (code != PLATFORM_REBOOT_REQUEST) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    /* The program has one thread: its windows are all of the program's. */
    PlatformRemoveThreadWindows();
    PlatformStartStartupShortcuts();
    /* Nothing is saved or released: a reset gives the program no chance to. */
    ExitProcess(0);
}

void PlatformPowerOff(void)
{
    /* Off and on again at once: nothing the program can observe changes. */
}
