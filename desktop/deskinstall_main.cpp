/*
 * Entry point of deskinstall: fills the operations table with the real Win32
 * calls and runs the setup once. No window, no command-line options.
 */
#include "setup_run.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    SetupOperations ops;
    ops.openKey = RegOpenKeyExA;
    ops.queryValue = RegQueryValueExA;
    ops.closeKey = RegCloseKey;
    ops.currentDirectory = GetCurrentDirectoryA;
    ops.systemDirectory = GetSystemDirectoryA;
    ops.shellExecute = ShellExecuteExA;
    ops.copyFile = CopyFileA;
    ops.debugOutput = OutputDebugStringA;
    ops.messageBox = MessageBoxA;
    return RunSetup(ops);
}
