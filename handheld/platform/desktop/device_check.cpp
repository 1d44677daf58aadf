/* The device check of the emulated build; the same contract as the device tool's. */
#include "platform/device_check.h"
#include <windows.h>

static const WCHAR DEVICE_MARK_KEY[] = L"System\\Emulated Handheld";
static const WCHAR DEVICE_MARK_VALUE[] = L"Device";

static bool OnlyDeviceDrives(void)
{
    const DWORD allowed = (1u << ('C' - 'A')) | (1u << ('D' - 'A'));
    return (GetLogicalDrives() & ~allowed) == 0;
}

static bool DeviceMarkPresent(void)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, DEVICE_MARK_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, mark = 0, size = sizeof(mark);
    LONG result = RegQueryValueExW(key, DEVICE_MARK_VALUE, NULL, &type, (BYTE *)&mark, &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(mark) && mark == 1;
}

const char *PlatformOutsideDeviceReason(void)
{
    if (!OnlyDeviceDrives())
        return "drives other than C: and D: are mapped";
    if (!DeviceMarkPresent())
        return "the registry carries no device mark (HKLM\\System\\Emulated Handheld, Device = 1)";
    return NULL;
}

bool PlatformConfirmEmulatedDevice(void)
{
    if (!PlatformOutsideDeviceReason())
        return true;
    MessageBoxW(NULL,
                L"This build of Kestrum runs only on an emulated handheld device. "
                L"Make one with \"tools/device create\" and start Kestrum inside it; "
                L"a device made by an older tool gets its mark with \"tools/device install\".",
                L"Kestrum", MB_OK | MB_ICONSTOP);
    return false;
}
