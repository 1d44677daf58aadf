/*
 * The control file (".000") of a Windows CE installation cabinet, read into
 * process-wide tables: what the cabinet installs, resolved to the device's
 * own paths. Reading is a plain function of the bytes; nothing here touches
 * the device. Strings in the control file are ASCII; they are widened one
 * byte to one character, and a byte above 127 makes the file unreadable.
 */
#ifndef WCELOAD_CAB_CONTROL_H
#define WCELOAD_CAB_CONTROL_H

#include <stddef.h>
#include <windows.h>

/* Paths as the device names them: a backslash first, no drive. */
enum { CAB_PATH_MAX = MAX_PATH };
enum { CAB_MAX_STRINGS = 512, CAB_MAX_FOLDERS = 128, CAB_MAX_FILES = 128, CAB_MAX_HIVES = 64,
       CAB_MAX_VALUES = 128, CAB_MAX_LINKS = 64, CAB_VALUE_DATA_MAX = 1024, CAB_NAME_MAX = 128 };

/* Hive roots as the control file numbers them. */
enum { CAB_ROOT_CLASSES = 1, CAB_ROOT_CURRENT_USER = 2, CAB_ROOT_LOCAL_MACHINE = 3, CAB_ROOT_USERS = 4 };

struct CabFile {
    unsigned number;                /* the cabinet file's three-digit extension */
    WCHAR folder[CAB_PATH_MAX];
    WCHAR path[CAB_PATH_MAX];       /* folder, backslash, name */
};

struct CabValue {
    unsigned root;                  /* CAB_ROOT_* */
    WCHAR key[CAB_PATH_MAX];
    WCHAR name[CAB_PATH_MAX];       /* empty: the key's default value */
    DWORD type;                     /* REG_SZ, REG_DWORD, REG_MULTI_SZ or REG_BINARY */
    bool noClobber;                 /* an existing value stays */
    alignas(DWORD) BYTE data[CAB_VALUE_DATA_MAX];  /* as RegSetValueExW takes it: wide text for the text types */
    DWORD size;
};

struct CabLink {
    WCHAR path[CAB_PATH_MAX];       /* the shortcut file, ".lnk" included */
    WCHAR target[CAB_PATH_MAX];     /* the installed file or folder it starts, unquoted */
};

struct CabControl {
    DWORD processor;                /* 0: any */
    DWORD minMajor, minMinor, maxMajor, maxMinor;
    WCHAR provider[CAB_NAME_MAX];
    WCHAR application[CAB_NAME_MAX];
    WCHAR appKey[CAB_PATH_MAX];     /* "<provider> <application>", the SOFTWARE\Apps subkey */
    WCHAR installDir[CAB_PATH_MAX]; /* the application's own folder, registered as InstallDir */
    size_t fileCount, valueCount, linkCount;
    CabFile files[CAB_MAX_FILES];
    CabValue values[CAB_MAX_VALUES];
    CabLink links[CAB_MAX_LINKS];
};

/* Why a control file cannot be read, for the installer's message. */
enum CabControlResult {
    CAB_CONTROL_OK,
    CAB_CONTROL_DAMAGED,        /* not a control file, cut short, or inconsistent */
    CAB_CONTROL_UNKNOWN_FOLDER, /* a %CEn% folder this kind of device does not have */
    CAB_CONTROL_TOO_LARGE       /* more entries or longer paths than this installer holds */
};

/* Reads the SIZE bytes of a control file into *control (overwritten whole).
 * STORE_ROOT, when not NULL, is a storage card's folder ("\Storage Card"):
 * the application's own folder and everything in it go there instead.
 * Every path is checked: one component at a time, no "." or "..", no drive,
 * no character a file name may not hold, and within CAB_PATH_MAX. */
CabControlResult ReadCabControl(const unsigned char *bytes, size_t size, const WCHAR *storeRoot,
                                CabControl *control);

/* The device folder of %CEn% on a Pocket PC of Windows CE 3.0, or NULL when
 * that kind of device has none. */
const WCHAR *PocketPcFolder(unsigned n);

/* Why this device must refuse a readable cabinet. */
enum CabFit { CAB_FITS, CAB_OTHER_PROCESSOR, CAB_LATER_VERSION };

/* Whether a cabinet for PROCESSOR and the minimum version in CONTROL installs
 * on a device of that processor and version (processor 0 fits any). */
CabFit CabFitsDevice(const CabControl *control, DWORD processor, DWORD major, DWORD minor);

#endif
