/*
 * The emulated build's fence. Kestrum closes other programs' windows and
 * deletes files and registry keys; on the desktop it may do that only inside
 * an emulated handheld device, never to the desktop it was started on by
 * mistake. A real handheld build has no such check: there the device is the
 * machine.
 */
#ifndef KESTRUM_PLATFORM_DEVICE_CHECK_H
#define KESTRUM_PLATFORM_DEVICE_CHECK_H

/* True inside an emulated device: no drive but C: and D:, and the device
 * marker file at the root of D:. Anywhere else it tells the user in one
 * message box and returns false; nothing else is read, written or touched. */
bool ConfirmEmulatedDevice(void);

#endif
