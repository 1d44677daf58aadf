/*
 * The device requests: the hardware layer's kernel control, and switching
 * off by the power key, which the shell turns into a suspend.
 */
#include "platform/device_power.h"

/* coredll's kernel control; the SDK declares it in a header the toolchain lacks. */
extern "C" BOOL WINAPI KernelIoControl(DWORD code, void *input, DWORD inputSize, void *output,
                                       DWORD outputSize, DWORD *bytesReturned);

/* The power key and the flag that presses it without a click. */
static const BYTE POWER_KEY = 0xDF;          /* VK_OFF */
static const DWORD KEY_SILENT = 0x0004;      /* KEYEVENTF_SILENT */

BOOL PlatformKernelRequest(DWORD code, void *input, DWORD inputSize, void *output, DWORD outputSize,
                           DWORD *bytesReturned)
{
    return KernelIoControl(code, input, inputSize, output, outputSize, bytesReturned);
}

void PlatformPowerOff(void)
{
    /* The key goes into the input queue; the device suspends once the shell reads it. */
    keybd_event(POWER_KEY, 0, KEY_SILENT, 0);
    keybd_event(POWER_KEY, 0, KEY_SILENT | KEYEVENTF_KEYUP, 0);
}
