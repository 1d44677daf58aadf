/*
 * The handheld's two device requests: the kernel input/output control that
 * restarts the device (soft reset), and switching the device off. In the
 * emulated device a soft reset ends this program at once and then starts the
 * device's start-up folder shortcuts, as the handheld does after a reset;
 * the host is never rebooted. Switching off and on again changes nothing the
 * program can see, so the power-off request returns at once.
 */
#ifndef KESTRUM_PLATFORM_DEVICE_POWER_H
#define KESTRUM_PLATFORM_DEVICE_POWER_H

#include <windows.h>

/* The hardware layer's reboot request. */
enum : DWORD { PLATFORM_REBOOT_REQUEST = 0x0101003C };

/* The handheld's kernel control. For PLATFORM_REBOOT_REQUEST it does not return:
 * this program's windows go without any of its own procedures running (no
 * settings are saved), the start-up shortcuts are started, and the process
 * ends. Every other code is refused: FALSE, last error ERROR_NOT_SUPPORTED. */
BOOL PlatformKernelRequest(DWORD code, void *input, DWORD inputSize, void *output, DWORD outputSize,
                           DWORD *bytesReturned);

/* The first step of the emulated reset: every top-level window of the calling
 * thread goes, with its child and owned windows, and none of their
 * procedures sees a message on the way out (they are replaced by the default
 * procedure first). Afterwards no search finds them. */
void PlatformRemoveThreadWindows(void);

/* Switches the device off; it comes on again at once. Messages already
 * queued (a posted quit) are still there afterwards. */
void PlatformPowerOff(void);

#endif
