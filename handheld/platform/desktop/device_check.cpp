/* The device check of the emulated build; the same contract as the device tool's. */
#include "platform/device_check.h"
#include <windows.h>

static const WCHAR DEVICE_MARKER[] = L"D:\\.kestrum-device";

static bool InsideEmulatedDevice(void)
{
    const DWORD allowed = (1u << ('C' - 'A')) | (1u << ('D' - 'A'));
    if (GetLogicalDrives() & ~allowed)
        return false;
    DWORD attributes = GetFileAttributesW(DEVICE_MARKER);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool PlatformConfirmEmulatedDevice(void)
{
    if (InsideEmulatedDevice())
        return true;
    MessageBoxW(NULL,
                L"This build of Kestrum runs only on an emulated handheld device. "
                L"Make one with \"tools/device create\" and start Kestrum inside it.",
                L"Kestrum", MB_OK | MB_ICONSTOP);
    return false;
}
