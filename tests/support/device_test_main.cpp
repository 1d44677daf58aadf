/*
 * Entry point of every test program. Tests create, delete and lock real files
 * and registry keys, so they run only inside an emulated handheld: current
 * directory D:\, no drive but C: and D:, and the device's mark in the registry.
 * Anywhere else the program refuses to run any test.
 */
#include <windows.h>
#include <stdio.h>
#include <gtest/gtest.h>

#include "device.h"

int main(int argc, char **argv)
{
    char why[200];
    if (!InsideDevice(why, sizeof(why))) {
        fprintf(stderr, "refusing to run tests outside an emulated handheld: %s\n", why);
        return 2;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
