/*
 * The emulated build's fence. Kestrum closes other programs' windows and
 * deletes files and registry keys; on the desktop it may do that only inside
 * an emulated handheld device, never to the desktop it was started on by
 * mistake. A real handheld build has no such check: there the device is the
 * machine.
 *
 * A device is known by two things: no drive but C: and D:, and the device's
 * mark, the value "Device" (REG_DWORD 1) under HKEY_LOCAL_MACHINE
 * "System\Emulated Handheld", which the device tool writes. The mark lives
 * in a key that no cleaning task opens, so no cleaning can unmake a device.
 */
#ifndef KESTRUM_PLATFORM_DEVICE_CHECK_H
#define KESTRUM_PLATFORM_DEVICE_CHECK_H

/* NULL inside an emulated device; otherwise a short reason, in English, why
 * this process is not in one. Only reads the drives and the registry. */
const char *PlatformOutsideDeviceReason(void);

/* True inside an emulated device. Anywhere else it tells the user in one
 * message box and returns false; nothing else is read, written or touched. */
bool PlatformConfirmEmulatedDevice(void);

#endif
