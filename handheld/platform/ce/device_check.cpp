/*
 * On the handheld the device is the machine: there is nothing to fence off,
 * so the check the emulated build makes always passes here.
 */
#include "platform/device_check.h"

bool PlatformConfirmEmulatedDevice(void)
{
    return true;
}
