/*
 * unload.exe, the emulated handheld's Remove Programs: takes an installed
 * application away by the uninstall record its install left.
 *
 *   unload "<provider> <application>"
 *
 * Exit status: 0 removed, 1 no such installed application, 2 something it
 * installed is still there (in use): its key and record stay for another
 * try, 16 not on an emulated device.
 */
#include <windows.h>
#include <shellapi.h>

#include "install_actions.h"
#include "platform/device_check.h"

static InstallRecord g_record;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    if (!PlatformConfirmEmulatedDevice())
        return 16;
    int argc = 0;
    LPWSTR *argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 2 || !ReadRecordFile(argv[1], &g_record))
        return 1;
    return RemoveApplication(&g_record, true) ? 0 : 2;
}
