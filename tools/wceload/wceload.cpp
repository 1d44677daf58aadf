/*
 * wceload.exe, the emulated handheld's installer: installs a Windows CE
 * installation cabinet as the device's own installer does.
 *
 *   wceload [/card] CABINET
 *
 * The whole cabinet and its control file are read and checked first; a
 * cabinet for another processor, for a later Windows CE, or one that is
 * damaged is refused with one message box and nothing on the device changes.
 * /card puts the application's own folder on the storage card
 * (\Storage Card), as choosing the card at the device's install prompt does.
 * A cabinet installed from \Windows\AppMgr\Install, where the desktop's
 * application manager delivers it, is deleted afterwards.
 *
 * Exit status: 0 installed, 1 refused, 2 the install failed and was undone,
 * 16 not on an emulated device.
 */
#include <windows.h>
#include <shellapi.h>

#include "cab_control.h"
#include "cab_unpack.h"
#include "install_actions.h"
#include "platform/device_check.h"

/* This device: a Pocket PC of Windows CE 3.0 on the emulation's processor. */
enum { DEVICE_CE_MAJOR = 3, DEVICE_CE_MINOR = 0 };

static const WCHAR CAPTION[] = L"Installation";
static const WCHAR STORAGE_CARD[] = L"\\Storage Card";
static const WCHAR DELIVERY_FOLDER[] = L"\\Windows\\AppMgr\\Install";

static CabContents g_contents;
static CabControl g_control;

static const WCHAR *FileName(const WCHAR *path)
{
    const WCHAR *name = path;
    for (const WCHAR *p = path; *p; p++) {
        if (*p == L'\\' || *p == L'/' || *p == L':')
            name = p + 1;
    }
    return name;
}

/* One message box: the cabinet's name, then what happened. */
static int Tell(const WCHAR *cabinet, const WCHAR *what, int status)
{
    WCHAR text[2 * MAX_PATH + 200];
    wsprintfW(text, L"%.259s %.300s", FileName(cabinet), what);
    MessageBoxW(NULL, text, CAPTION, MB_OK | MB_ICONEXCLAMATION);
    return status;
}

static const WCHAR *RefusalText(CabControlResult r)
{
    switch (r) {
    case CAB_CONTROL_UNKNOWN_FOLDER: return L"names a folder this device does not have. The program was not installed.";
    case CAB_CONTROL_TOO_LARGE: return L"is larger than this device can install. The program was not installed.";
    default: return L"is damaged or incomplete. The program was not installed.";
    }
}

/* Whether PATH (full) lies directly in the folder the application manager delivers to. */
static bool DeliveredByDesktop(const WCHAR *path)
{
    WCHAR folder[MAX_PATH];
    DWORD n = GetFullPathNameW(DELIVERY_FOLDER, MAX_PATH, folder, NULL);
    int length = lstrlenW(path) - lstrlenW(FileName(path));
    if (n == 0 || n >= MAX_PATH || length < 1 || (DWORD)(length - 1) != n)
        return false;
    return CompareStringW(LOCALE_INVARIANT, NORM_IGNORECASE, path, (int)n, folder, (int)n) == CSTR_EQUAL;
}

static int Install(const WCHAR *cabinet, bool toCard)
{
    WCHAR path[MAX_PATH];
    DWORD n = GetFullPathNameW(cabinet, MAX_PATH, path, NULL);
    if (n == 0 || n >= MAX_PATH)
        return Tell(cabinet, L"cannot be opened. The program was not installed.", 1);

    switch (UnpackCab(path, &g_contents)) {
    case CAB_UNPACK_OK: break;
    case CAB_UNPACK_NOT_FOUND: return Tell(path, L"cannot be opened. The program was not installed.", 1);
    case CAB_UNPACK_TOO_LARGE: return Tell(path, RefusalText(CAB_CONTROL_TOO_LARGE), 1);
    default: return Tell(path, RefusalText(CAB_CONTROL_DAMAGED), 1);
    }
    const CabMember *control = &g_contents.members[0];
    CabControlResult read = control->present ? ReadCabControl(control->data, control->size, toCard ? STORAGE_CARD : NULL,
                                                              &g_control)
                                             : CAB_CONTROL_DAMAGED;
    for (size_t i = 0; read == CAB_CONTROL_OK && i < g_control.fileCount; i++) {
        if (!g_contents.members[g_control.files[i].number].present)
            read = CAB_CONTROL_DAMAGED;
    }
    if (read != CAB_CONTROL_OK) {
        FreeCabContents(&g_contents);
        return Tell(path, RefusalText(read), 1);
    }

    SYSTEM_INFO system;
    GetSystemInfo(&system);
    CabFit fit = CabFitsDevice(&g_control, system.dwProcessorType, DEVICE_CE_MAJOR, DEVICE_CE_MINOR);
    if (fit != CAB_FITS) {
        FreeCabContents(&g_contents);
        if (fit == CAB_OTHER_PROCESSOR)
            return Tell(path, L"is for a device with another processor. The program was not installed.", 1);
        WCHAR text[160];
        wsprintfW(text, L"needs Windows CE %lu.%02lu or later; this device has %d.%02d. The program was not installed.",
                  g_control.minMajor, g_control.minMinor, DEVICE_CE_MAJOR, DEVICE_CE_MINOR);
        return Tell(path, text, 1);
    }
    DWORD card = GetFileAttributesW(STORAGE_CARD);
    if (toCard && (card == INVALID_FILE_ATTRIBUTES || !(card & FILE_ATTRIBUTE_DIRECTORY))) {
        FreeCabContents(&g_contents);
        return Tell(path, L"cannot go to the storage card: no storage card is in the device.", 1);
    }

    bool installed = InstallApplication(&g_control, &g_contents);
    FreeCabContents(&g_contents);
    if (!installed) {
        WCHAR text[CAB_PATH_MAX + 120];
        wsprintfW(text, L"could not be installed (the device is full, or a file is in use). Nothing of %.259s was left.",
                  g_control.appKey);
        return Tell(path, text, 2);
    }
    if (DeliveredByDesktop(path))
        DeleteFileW(path);
    return 0;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    if (!PlatformConfirmEmulatedDevice())
        return 16;
    int argc = 0;
    LPWSTR *argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    bool toCard = argc == 3 && lstrcmpiW(argv[1], L"/card") == 0;
    if (!argv || argc != (toCard ? 3 : 2)) {
        MessageBoxW(NULL, L"Usage: wceload [/card] CABINET", CAPTION, MB_OK);
        return 1;
    }
    return Install(argv[argc - 1], toCard);
}
