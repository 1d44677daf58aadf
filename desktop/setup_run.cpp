/*
 * The launcher's steps over the operations table. All text lives in fixed
 * buffers on the stack; a path or parameter text that would not fit its buffer
 * is refused with the message box of the stage under way, never cut short.
 */
#include "setup_run.h"
#include "setup_text.h"

namespace {

const char kAppPathsKey[] = "software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAppMgr.exe";

const char kCaption[] = "Error";
const char kNotFound[] = "Unable to find Application Manager for PocketPC Applications";
const char kNotLaunched[] = "Unable to Launch Application Manager for PocketPC Applications";
const char kNotRegistered[] = "Unable to Register QuilletSync.DLL with CE Application Manager.  "
                              "Please contact support@kestrum.example";

/* regsvr32 is named by its bare name in the debug text, but started by its
 * full path in the system directory: by a bare name the program search looks
 * in the current directory first, which is the install set's folder, where a
 * stray regsvr32.exe would run in its place. */
const char kRegisterTool[] = "regsvr32";
const char kRegisterToolFile[] = "\\regsvr32.exe";
const char kCompanionFiles[][20] = {"\\ZembaNetSync.DLL", "\\QuilletManager.EXE", "\\QuilletSync.DLL"};
const int kCompanionCount = 3;

/* Read limits of the platform queries. The value's buffer keeps one byte
 * more, since a value stored without its terminator may fill the whole limit. */
const DWORD kAppManagerLimit = 261;
const DWORD kCurrentDirectoryLimit = 258;
const UINT kSystemDirectoryLimit = MAX_PATH;

const char kLaunchOpen[] = "\"";
const char kLaunchFirst[] = "\\Setup.ini\" \"";
const char kLaunchSecond[] = "\\Quillet.ini\"";

/* Built paths are single paths. The parameter text holds the current
 * directory twice, as long as its read allows, with the three literals and
 * the terminator; the register parameters are far shorter. */
const unsigned kPathCapacity = MAX_PATH;
const unsigned kParameterCapacity = 2 * (kCurrentDirectoryLimit - 1) + (sizeof(kLaunchOpen) - 1)
                                    + (sizeof(kLaunchFirst) - 1) + (sizeof(kLaunchSecond) - 1) + 1;
static_assert(kParameterCapacity >= sizeof("/s /c ") + kPathCapacity, "register parameters fit");

int Refuse(const SetupOperations &ops, const char *text, int exitCode)
{
    ops.messageBox(nullptr, text, kCaption, MB_OK);
    return exitCode;
}

/* text = first + second, rebuilt from empty; false when it does not fit. */
bool BuildPath(char *text, const char *first, const char *second)
{
    text[0] = '\0';
    return AppendIfFits(text, kPathCapacity, first) && AppendIfFits(text, kPathCapacity, second);
}

bool BuildLaunchParameters(char *text, const char *currentDirectory)
{
    text[0] = '\0';
    return AppendIfFits(text, kParameterCapacity, kLaunchOpen)
        && AppendIfFits(text, kParameterCapacity, currentDirectory)
        && AppendIfFits(text, kParameterCapacity, kLaunchFirst)
        && AppendIfFits(text, kParameterCapacity, currentDirectory)
        && AppendIfFits(text, kParameterCapacity, kLaunchSecond);
}

bool BuildRegisterParameters(char *text, const char *libraryPath)
{
    text[0] = '\0';
    return AppendIfFits(text, kParameterCapacity, "/s /c ")
        && AppendIfFits(text, kParameterCapacity, libraryPath);
}

void DebugLaunch(const SetupOperations &ops, const char *program, const SHELLEXECUTEINFOA &start)
{
    ops.debugOutput("Launching ");
    ops.debugOutput(program);
    ops.debugOutput(" ");
    ops.debugOutput(start.lpParameters);
    ops.debugOutput("\n");
}

/* A directory query answers 0 on failure and a count at or above the limit
 * when the directory does not fit; either way the buffer holds no directory. */
bool DirectoryRead(DWORD count, DWORD limit)
{
    return count != 0 && count < limit;
}

} // namespace

int RunSetup(const SetupOperations &ops)
{
    HKEY key;
    if (ops.openKey(HKEY_LOCAL_MACHINE, kAppPathsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return Refuse(ops, kNotFound, SETUP_EXIT_NO_KEY);

    /* The value's type is not examined, so a value stored without its
     * terminator is terminated here, inside the buffer. */
    char appManager[kAppManagerLimit + 1];
    DWORD size = kAppManagerLimit;
    LONG status = ops.queryValue(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE *>(appManager), &size);
    ops.closeKey(key);
    if (status != ERROR_SUCCESS)
        return Refuse(ops, kNotFound, SETUP_EXIT_NO_VALUE);
    appManager[size < kAppManagerLimit ? size : kAppManagerLimit] = '\0';

    char currentDirectory[kCurrentDirectoryLimit];
    currentDirectory[0] = '\0';
    if (!DirectoryRead(ops.currentDirectory(kCurrentDirectoryLimit, currentDirectory), kCurrentDirectoryLimit))
        return Refuse(ops, kNotFound, SETUP_EXIT_NO_VALUE);

    char parameters[kParameterCapacity];
    if (!BuildLaunchParameters(parameters, currentDirectory))
        return Refuse(ops, kNotLaunched, SETUP_EXIT_NOT_STARTED);

    /* One record serves both starts; only lpFile changes between them. */
    SHELLEXECUTEINFOA start = {};
    start.cbSize = sizeof(start);
    start.fMask = 0;
    start.lpFile = appManager;
    start.lpParameters = parameters;
    start.nShow = SW_SHOWDEFAULT;
    DebugLaunch(ops, appManager, start);
    if (!ops.shellExecute(&start))
        return Refuse(ops, kNotLaunched, SETUP_EXIT_NOT_STARTED);

    char systemDirectory[kSystemDirectoryLimit];
    systemDirectory[0] = '\0';
    if (!DirectoryRead(ops.systemDirectory(systemDirectory, kSystemDirectoryLimit), kSystemDirectoryLimit))
        return Refuse(ops, kNotFound, SETUP_EXIT_NO_VALUE);

    char source[kPathCapacity];
    char destination[kPathCapacity];
    for (int i = 0; i < kCompanionCount; i++) {
        if (!BuildPath(destination, systemDirectory, kCompanionFiles[i])
            || !BuildPath(source, currentDirectory, kCompanionFiles[i]))
            return Refuse(ops, kNotRegistered, SETUP_EXIT_NOT_STARTED);
        ops.debugOutput("Copying ");
        ops.debugOutput(source);
        ops.debugOutput(" To ");
        ops.debugOutput(destination);
        ops.debugOutput("\n");
        if (ops.copyFile(source, destination, FALSE)) {
            ops.debugOutput("File Copied Successfully\n");
        } else {
            ops.debugOutput("Error Copying File\n");
            /* Without the library there is nothing to register; the user is not told. */
            if (i == kCompanionCount - 1)
                return SETUP_EXIT_DONE;
        }
    }

    /* destination still names the library in the system directory. */
    ops.debugOutput("Registering QuilletSync.DLL with CE Application Manager\n");
    char registerTool[kPathCapacity];
    if (!BuildRegisterParameters(parameters, destination) || !BuildPath(registerTool, systemDirectory, kRegisterToolFile))
        return Refuse(ops, kNotRegistered, SETUP_EXIT_NOT_STARTED);
    start.lpFile = registerTool;
    DebugLaunch(ops, kRegisterTool, start);
    if (!ops.shellExecute(&start))
        return Refuse(ops, kNotRegistered, SETUP_EXIT_NOT_STARTED);
    return SETUP_EXIT_DONE;
}
