/* The uninstall record's text, and its file in \Windows\AppMgr. */
#include "uninstall_record.h"

static const char *const KIND_NAMES[] = { "folder", "file", "shortcut", "key", "value" };
static const char *const ROOT_NAMES[] = { "", "HKCR", "HKCU", "HKLM", "HKU" };

static size_t WideLength(const WCHAR *s)
{
    size_t n = 0;
    while (s[n])
        n++;
    return n;
}

static bool CopyWide(WCHAR *out, const WCHAR *text, size_t capacity)
{
    size_t n = WideLength(text);
    if (n >= capacity)
        return false;
    for (size_t i = 0; i <= n; i++)
        out[i] = text[i];
    return true;
}

bool AddRecordItem(InstallRecord *record, RecordKind kind, unsigned root, const WCHAR *path, const WCHAR *name)
{
    if (record->count >= RECORD_MAX_ITEMS)
        return false;
    RecordItem *item = &record->items[record->count];
    item->kind = kind;
    item->root = root;
    item->name[0] = 0;
    if (!CopyWide(item->path, path, CAB_PATH_MAX) || (name && !CopyWide(item->name, name, CAB_PATH_MAX)))
        return false;
    record->count++;
    return true;
}

/* --- formatting ------------------------------------------------------------ */

struct Out {
    char *text;
    size_t capacity, at;
    bool ok;
};

static void PutAscii(Out *o, const char *s)
{
    for (; *s; s++) {
        if (o->at + 1 >= o->capacity) {
            o->ok = false;
            return;
        }
        o->text[o->at++] = *s;
    }
}

static void PutWide(Out *o, const WCHAR *s)
{
    for (; *s; s++) {
        if (*s < 0x20 || *s > 0x7E || o->at + 1 >= o->capacity) {
            o->ok = false;
            return;
        }
        o->text[o->at++] = (char)*s;
    }
}

bool FormatRecord(const InstallRecord *record, char *out, size_t capacity, size_t *length)
{
    Out o = { out, capacity, 0, capacity > 0 };
    PutAscii(&o, "application\t");
    PutWide(&o, record->appKey);
    PutAscii(&o, "\r\n");
    for (size_t i = 0; i < record->count; i++) {
        const RecordItem *item = &record->items[i];
        PutAscii(&o, KIND_NAMES[item->kind]);
        PutAscii(&o, "\t");
        if (item->kind == RECORD_KEY || item->kind == RECORD_VALUE) {
            if (item->root < CAB_ROOT_CLASSES || item->root > CAB_ROOT_USERS)
                return false;
            PutAscii(&o, ROOT_NAMES[item->root]);
            PutAscii(&o, "\t");
        }
        PutWide(&o, item->path);
        if (item->kind == RECORD_VALUE) {
            PutAscii(&o, "\t");
            PutWide(&o, item->name);
        }
        PutAscii(&o, "\r\n");
    }
    if (!o.ok)
        return false;
    out[o.at] = 0;
    *length = o.at;
    return true;
}

/* --- parsing ------------------------------------------------------------------ */

/* The next tab-separated field of the line [*at, end) into OUT. */
static bool TakeField(const char *text, size_t end, size_t *at, WCHAR *out, size_t capacity, bool last)
{
    size_t n = 0;
    while (*at < end && text[*at] != '\t') {
        unsigned char c = (unsigned char)text[*at];
        if (c < 0x20 || c > 0x7E || n + 1 >= capacity)
            return false;
        out[n++] = (WCHAR)c;
        (*at)++;
    }
    out[n] = 0;
    if (last)
        return *at == end;
    if (*at == end)
        return false;
    (*at)++; /* the tab */
    return true;
}

static bool WideEquals(const WCHAR *a, const char *b)
{
    while (*a && *b && *a == (WCHAR)(unsigned char)*b) {
        a++;
        b++;
    }
    return *a == 0 && *b == 0;
}

static bool ParseLine(const char *text, size_t start, size_t end, bool first, InstallRecord *record)
{
    WCHAR kind[16], root[8];
    size_t at = start;
    if (!TakeField(text, end, &at, kind, 16, false))
        return false;
    if (first)
        return WideEquals(kind, "application") && TakeField(text, end, &at, record->appKey, CAB_PATH_MAX, true)
            && record->appKey[0];
    if (record->count >= RECORD_MAX_ITEMS)
        return false;
    RecordItem *item = &record->items[record->count];
    item->root = 0;
    item->name[0] = 0;
    size_t k = 0;
    while (k < 5 && !WideEquals(kind, KIND_NAMES[k]))
        k++;
    if (k == 5)
        return false;
    item->kind = (RecordKind)k;
    if (item->kind == RECORD_KEY || item->kind == RECORD_VALUE) {
        if (!TakeField(text, end, &at, root, 8, false))
            return false;
        unsigned r = CAB_ROOT_CLASSES;
        while (r <= CAB_ROOT_USERS && !WideEquals(root, ROOT_NAMES[r]))
            r++;
        if (r > CAB_ROOT_USERS)
            return false;
        item->root = r;
    }
    bool valueLine = item->kind == RECORD_VALUE;
    if (!TakeField(text, end, &at, item->path, CAB_PATH_MAX, !valueLine) || !item->path[0])
        return false;
    if (valueLine && !TakeField(text, end, &at, item->name, CAB_PATH_MAX, true))
        return false;
    record->count++;
    return true;
}

bool ParseRecord(const char *text, size_t length, InstallRecord *record)
{
    record->count = 0;
    record->appKey[0] = 0;
    size_t start = 0;
    bool first = true;
    while (start < length) {
        size_t end = start;
        while (end < length && text[end] != '\n')
            end++;
        size_t lineEnd = end > start && text[end - 1] == '\r' ? end - 1 : end;
        if (lineEnd > start && !ParseLine(text, start, lineEnd, first, record))
            return false;
        if (lineEnd > start)
            first = false;
        start = end + 1;
    }
    return !first;
}

/* An application's key name, which is also a file name: no path in it. */
static bool IsApplicationName(const WCHAR *name)
{
    size_t n = WideLength(name);
    if (n == 0 || name[n - 1] == L'.' || name[n - 1] == L' ')
        return false;
    for (size_t i = 0; i < n; i++) {
        if (name[i] < 0x20 || name[i] > 0x7E)
            return false;
        for (const char *bad = "<>:\"/\\|?*"; *bad; bad++) {
            if (name[i] == (WCHAR)*bad)
                return false;
        }
    }
    return true;
}

bool RecordPath(const WCHAR *appKey, WCHAR *path, size_t capacity)
{
    if (!IsApplicationName(appKey))
        return false;
    static const WCHAR FOLDER[] = L"\\Windows\\AppMgr\\";
    static const WCHAR SUFFIX[] = L".unload";
    size_t f = WideLength(FOLDER), k = WideLength(appKey), s = WideLength(SUFFIX);
    if (f + k + s >= capacity)
        return false;
    for (size_t i = 0; i < f; i++)
        path[i] = FOLDER[i];
    for (size_t i = 0; i < k; i++)
        path[f + i] = appKey[i];
    for (size_t i = 0; i <= s; i++)
        path[f + k + i] = SUFFIX[i];
    return true;
}

/* --- the file -------------------------------------------------------------------- */

static char g_recordText[RECORD_TEXT_MAX];

bool WriteRecordFile(const InstallRecord *record)
{
    WCHAR path[CAB_PATH_MAX];
    size_t length;
    if (!RecordPath(record->appKey, path, CAB_PATH_MAX)
        || !FormatRecord(record, g_recordText, sizeof(g_recordText), &length))
        return false;
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, g_recordText, (DWORD)length, &written, NULL);
    CloseHandle(file);
    if (!ok || written != length) {
        DeleteFileW(path); /* a half record would misguide the removal */
        return false;
    }
    return true;
}

bool ReadRecordFile(const WCHAR *appKey, InstallRecord *record)
{
    WCHAR path[CAB_PATH_MAX];
    if (!RecordPath(appKey, path, CAB_PATH_MAX))
        return false;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD got = 0;
    BOOL ok = ReadFile(file, g_recordText, sizeof(g_recordText) - 1, &got, NULL);
    CloseHandle(file);
    if (!ok || got >= sizeof(g_recordText) - 1)
        return false;
    return ParseRecord(g_recordText, got, record) && lstrcmpiW(record->appKey, appKey) == 0;
}
