/*
 * The uninstall record the installer keeps in \Windows\AppMgr for each
 * application, named "<provider> <application>.unload" after its key under
 * SOFTWARE\Apps: what the install put where, so that Remove Programs can
 * take it away again. It is text, one item a line, fields separated by tabs:
 *
 *   application <TAB> Tarnwick Kestrum
 *   folder <TAB> \Program Files\Kestrum            a folder the install made
 *   file <TAB> \Program Files\Kestrum\Kestrum.exe
 *   shortcut <TAB> \Windows\Start Menu\Programs\Kestrum.lnk
 *   key <TAB> HKLM <TAB> Software\Tarnwick\Demo     a key the install made
 *   value <TAB> HKLM <TAB> Software\Tarnwick\Demo <TAB> Count
 *
 * Items are in the order they were made; removal goes the other way for
 * folders and keys. Formatting and parsing touch nothing.
 */
#ifndef WCELOAD_UNINSTALL_RECORD_H
#define WCELOAD_UNINSTALL_RECORD_H

#include "cab_control.h"

enum RecordKind { RECORD_FOLDER, RECORD_FILE, RECORD_SHORTCUT, RECORD_KEY, RECORD_VALUE };

struct RecordItem {
    RecordKind kind;
    unsigned root;              /* CAB_ROOT_* for keys and values */
    WCHAR path[CAB_PATH_MAX];   /* a device path, or a key under ROOT */
    WCHAR name[CAB_PATH_MAX];   /* a value's name */
};

enum { RECORD_MAX_ITEMS = CAB_MAX_FOLDERS + CAB_MAX_FILES + CAB_MAX_LINKS + 2 * CAB_MAX_VALUES };
/* The longest record text: every item at its longest. */
enum { RECORD_TEXT_MAX = 64 + RECORD_MAX_ITEMS * (16 + 2 * CAB_PATH_MAX) };

struct InstallRecord {
    WCHAR appKey[CAB_PATH_MAX];
    size_t count;
    RecordItem items[RECORD_MAX_ITEMS];
};

/* Adds one item; false when the record is full. NAME may be NULL. */
bool AddRecordItem(InstallRecord *record, RecordKind kind, unsigned root, const WCHAR *path, const WCHAR *name);

/* The record as text into OUT (CAPACITY bytes); false when it would not fit
 * or a field holds a character outside printable ASCII. */
bool FormatRecord(const InstallRecord *record, char *out, size_t capacity, size_t *length);

/* Reads a record's text; false when any line is not one of the above. */
bool ParseRecord(const char *text, size_t length, InstallRecord *record);

/* "\Windows\AppMgr\<appKey>.unload" into PATH; false when too long, or
 * when APP_KEY is not a plain name (a path in it would lead elsewhere). */
bool RecordPath(const WCHAR *appKey, WCHAR *path, size_t capacity);

/* The record file on the device: written whole, or read whole. */
bool WriteRecordFile(const InstallRecord *record);
bool ReadRecordFile(const WCHAR *appKey, InstallRecord *record);

#endif
