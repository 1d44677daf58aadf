/*
 * Reads a CE installation cabinet's control file. Every number and offset in
 * it is checked against the file's own length before it is used, and every
 * path is built component by component into a fixed buffer, so a damaged or
 * hostile cabinet can neither read past the file nor name a place outside
 * the device's store.
 */
#include "cab_control.h"

/* The Pocket PC's standard folders (%CE1% to %CE17%) on Windows CE 3.0;
 * NULL where that kind of device has none. */
static const WCHAR *const POCKET_PC_FOLDERS[18] = {
    NULL,
    L"\\Program Files",              /* %CE1% */
    L"\\Windows",                    /* %CE2% */
    NULL,                            /* %CE3%: no desktop */
    L"\\Windows\\StartUp",           /* %CE4% */
    L"\\My Documents",               /* %CE5% */
    NULL, NULL, NULL, NULL, NULL,    /* %CE6% to %CE10% */
    L"\\Windows\\Start Menu\\Programs", /* %CE11% */
    NULL, NULL,                      /* %CE12%, %CE13% */
    L"\\Windows\\Start Menu\\Games", /* %CE14% */
    L"\\Windows\\Fonts",             /* %CE15% */
    NULL,                            /* %CE16% */
    L"\\Windows\\Start Menu",        /* %CE17% */
};

const WCHAR *PocketPcFolder(unsigned n)
{
    return n < sizeof(POCKET_PC_FOLDERS) / sizeof(POCKET_PC_FOLDERS[0]) ? POCKET_PC_FOLDERS[n] : NULL;
}

CabFit CabFitsDevice(const CabControl *control, DWORD processor, DWORD major, DWORD minor)
{
    if (control->processor != 0 && control->processor != processor)
        return CAB_OTHER_PROCESSOR;
    if (control->minMajor > major || (control->minMajor == major && control->minMinor > minor))
        return CAB_LATER_VERSION;
    return CAB_FITS;
}

/* --- reading within the file's bounds ------------------------------------ */

struct Bytes {
    const unsigned char *data;
    size_t size;
    bool ok;   /* false once anything was read out of bounds */
};

static unsigned Read16(Bytes *b, size_t at)
{
    if (at > b->size || b->size - at < 2) {
        b->ok = false;
        return 0;
    }
    return (unsigned)b->data[at] | (unsigned)b->data[at + 1] << 8;
}

static DWORD Read32(Bytes *b, size_t at)
{
    if (at > b->size || b->size - at < 4) {
        b->ok = false;
        return 0;
    }
    return (DWORD)b->data[at] | (DWORD)b->data[at + 1] << 8 | (DWORD)b->data[at + 2] << 16
        | (DWORD)b->data[at + 3] << 24;
}

/* True when LENGTH bytes from AT lie in the file. */
static bool Within(const Bytes *b, size_t at, size_t length)
{
    return at <= b->size && b->size - at >= length;
}

/* --- the STRINGS section ---------------------------------------------------- */

struct CabString {
    unsigned id;
    const char *text;   /* into the file, NUL-terminated there */
    size_t length;
};

/* The tables of one reading; process-wide, as the control record is. */
static CabString g_strings[CAB_MAX_STRINGS];
static size_t g_stringCount;
static struct { unsigned id; WCHAR path[CAB_PATH_MAX]; } g_folders[CAB_MAX_FOLDERS];
static size_t g_folderCount;
static struct { unsigned id; unsigned root; WCHAR key[CAB_PATH_MAX]; } g_hives[CAB_MAX_HIVES];
static size_t g_hiveCount;

static const CabString *FindString(unsigned id)
{
    for (size_t i = 0; i < g_stringCount; i++) {
        if (g_strings[i].id == id)
            return &g_strings[i];
    }
    return NULL;
}

static bool IsPlainAscii(const char *text, size_t length)
{
    for (size_t i = 0; i < length; i++) {
        if ((unsigned char)text[i] < 0x20 || (unsigned char)text[i] > 0x7E)
            return false;
    }
    return true;
}

/* A NUL-terminated ASCII string of LENGTH bytes (terminator included) at AT. */
static bool ReadText(const Bytes *b, size_t at, size_t length, const char **text, size_t *chars)
{
    if (length == 0 || !Within(b, at, length))
        return false;
    const char *start = (const char *)b->data + at;
    size_t n = 0;
    while (n < length && start[n] != 0)
        n++;
    if (n == length || !IsPlainAscii(start, n))
        return false;
    *text = start;
    *chars = n;
    return true;
}

static bool Widen(const char *text, size_t length, WCHAR *out, size_t capacity)
{
    if (length >= capacity)
        return false;
    for (size_t i = 0; i < length; i++)
        out[i] = (WCHAR)(unsigned char)text[i];
    out[length] = 0;
    return true;
}

/* --- paths ------------------------------------------------------------------- */

static bool IsNameCharacter(char c)
{
    if ((unsigned char)c < 0x20 || (unsigned char)c > 0x7E)
        return false;
    for (const char *bad = "<>:\"/\\|?*"; *bad; bad++) {
        if (c == *bad)
            return false;
    }
    return true;
}

/* One file or folder name: no "." or "..", nothing Windows would strip. */
static bool IsSafeName(const char *name, size_t length)
{
    if (length == 0 || name[length - 1] == '.' || name[length - 1] == ' ')
        return false;
    for (size_t i = 0; i < length; i++) {
        if (!IsNameCharacter(name[i]))
            return false;
    }
    return true;
}

static size_t WideLength(const WCHAR *s)
{
    size_t n = 0;
    while (s[n])
        n++;
    return n;
}

static bool AppendWide(WCHAR *path, const WCHAR *more)
{
    size_t at = WideLength(path), n = WideLength(more);
    if (at + n >= CAB_PATH_MAX)
        return false;
    for (size_t i = 0; i <= n; i++)
        path[at + i] = more[i];
    return true;
}

/* Appends backslash and NAME (LENGTH characters, checked) to PATH. */
static bool AppendName(WCHAR *path, const char *name, size_t length)
{
    if (!IsSafeName(name, length))
        return false;
    size_t at = WideLength(path);
    if (at + 1 + length >= CAB_PATH_MAX)
        return false;
    path[at] = L'\\';
    for (size_t i = 0; i < length; i++)
        path[at + 1 + i] = (WCHAR)(unsigned char)name[i];
    path[at + 1 + length] = 0;
    return true;
}

/* Appends the backslash-separated names of TEXT; empty names are passed over. */
static bool AppendNames(WCHAR *path, const char *text, size_t length)
{
    size_t start = 0;
    for (size_t i = 0; i <= length; i++) {
        if (i == length || text[i] == '\\') {
            if (i > start && !AppendName(path, text + start, i - start))
                return false;
            start = i + 1;
        }
    }
    return true;
}

/* "%CEn%" at the start of TEXT: n (1 to 99) and the characters it takes. */
static bool ParseCeMacro(const char *text, size_t length, unsigned *n, size_t *used)
{
    if (length < 5 || (text[0] != '%') || (text[1] != 'C' && text[1] != 'c') || (text[2] != 'E' && text[2] != 'e'))
        return false;
    size_t i = 3;
    unsigned value = 0;
    while (i < length && i < 5 && text[i] >= '0' && text[i] <= '9')
        value = value * 10 + (unsigned)(text[i++] - '0');
    if (i == 3 || i >= length || text[i] != '%')
        return false;
    *n = value;
    *used = i + 1;
    return true;
}

/* A path from a list of string ids ending in 0 (SPEC_LENGTH bytes at AT),
 * appended to PATH. The first member may begin with %CEn%, which replaces
 * PATH; a path without one starts at the store's root. */
static CabControlResult ReadPathSpec(Bytes *b, size_t at, size_t specLength, bool macroAllowed, WCHAR *path)
{
    if (specLength < 2 || specLength % 2 != 0 || !Within(b, at, specLength))
        return CAB_CONTROL_DAMAGED;
    size_t members = specLength / 2;
    if (Read16(b, at + specLength - 2) != 0)
        return CAB_CONTROL_DAMAGED;
    for (size_t m = 0; m + 1 < members; m++) {
        const CabString *s = FindString(Read16(b, at + 2 * m));
        if (!s)
            return CAB_CONTROL_DAMAGED;
        const char *text = s->text;
        size_t length = s->length;
        unsigned n;
        size_t used;
        if (m == 0 && macroAllowed && ParseCeMacro(text, length, &n, &used)) {
            const WCHAR *folder = PocketPcFolder(n);
            if (!folder)
                return CAB_CONTROL_UNKNOWN_FOLDER;
            path[0] = 0;
            AppendWide(path, folder);
            text += used;
            length -= used;
        }
        if (!AppendNames(path, text, length))
            return WideLength(path) + length >= CAB_PATH_MAX ? CAB_CONTROL_TOO_LARGE : CAB_CONTROL_DAMAGED;
    }
    return WideLength(path) ? CAB_CONTROL_OK : CAB_CONTROL_DAMAGED;
}

static const WCHAR *FindFolder(unsigned id)
{
    for (size_t i = 0; i < g_folderCount; i++) {
        if (g_folders[i].id == id)
            return g_folders[i].path;
    }
    return NULL;
}

/* --- registry values ------------------------------------------------------------ */

static bool StartsWithNoCase(const char *text, size_t length, const char *prefix)
{
    size_t i = 0;
    for (; prefix[i]; i++) {
        if (i >= length)
            return false;
        char a = text[i], p = prefix[i];
        if (a >= 'a' && a <= 'z')
            a = (char)(a - 'a' + 'A');
        if (p >= 'a' && p <= 'z')
            p = (char)(p - 'a' + 'A');
        if (a != p)
            return false;
    }
    return true;
}

/* Wide text of TEXT into OUT at *AT, with %InstallDir% and %CEn% replaced
 * when SUBSTITUTE is set; the terminator is written too. */
static CabControlResult WidenValueText(const char *text, size_t length, bool substitute, const WCHAR *installDir,
                                       WCHAR *out, size_t capacity, size_t *at)
{
    size_t i = 0;
    while (i < length) {
        const WCHAR *insert = NULL;
        size_t used = 0;
        unsigned n;
        if (substitute && StartsWithNoCase(text + i, length - i, "%InstallDir%")) {
            insert = installDir;
            used = 12;
        } else if (substitute && ParseCeMacro(text + i, length - i, &n, &used)) {
            insert = PocketPcFolder(n);
            if (!insert)
                return CAB_CONTROL_UNKNOWN_FOLDER;
        }
        if (insert) {
            size_t n2 = WideLength(insert);
            if (*at + n2 >= capacity)
                return CAB_CONTROL_TOO_LARGE;
            for (size_t k = 0; k < n2; k++)
                out[(*at)++] = insert[k];
            i += used;
        } else {
            if (*at + 1 >= capacity)
                return CAB_CONTROL_TOO_LARGE;
            out[(*at)++] = (WCHAR)(unsigned char)text[i++];
        }
    }
    out[(*at)++] = 0;
    return CAB_CONTROL_OK;
}

/* The data of one REGKEYS entry, after its value name. */
static CabControlResult ReadValueData(const unsigned char *data, size_t size, DWORD flags, bool substitute,
                                      const WCHAR *installDir, CabValue *value)
{
    WCHAR *wide = (WCHAR *)(void *)value->data;
    size_t capacity = sizeof(value->data) / sizeof(WCHAR), at = 0;
    switch (flags & 0x00010001) {
    case 0x00010001: /* a 32-bit number */
        if (size != 4)
            return CAB_CONTROL_DAMAGED;
        value->type = REG_DWORD;
        for (size_t i = 0; i < 4; i++)
            value->data[i] = data[i];
        value->size = 4;
        return CAB_CONTROL_OK;
    case 0x00000001: /* bytes as they are */
        if (size > sizeof(value->data))
            return CAB_CONTROL_TOO_LARGE;
        value->type = REG_BINARY;
        for (size_t i = 0; i < size; i++)
            value->data[i] = data[i];
        value->size = (DWORD)size;
        return CAB_CONTROL_OK;
    case 0x00000000: { /* one string */
        size_t n = 0;
        while (n < size && data[n])
            n++;
        if (n == size || !IsPlainAscii((const char *)data, n))
            return CAB_CONTROL_DAMAGED;
        value->type = REG_SZ;
        CabControlResult r = WidenValueText((const char *)data, n, substitute, installDir, wide, capacity, &at);
        value->size = (DWORD)(at * sizeof(WCHAR));
        return r;
    }
    default: { /* strings, ending with an empty one */
        value->type = REG_MULTI_SZ;
        size_t i = 0;
        for (;;) {
            size_t n = 0;
            while (i + n < size && data[i + n])
                n++;
            if (i + n == size || !IsPlainAscii((const char *)data + i, n))
                return CAB_CONTROL_DAMAGED;
            if (n == 0)
                break;
            CabControlResult r = WidenValueText((const char *)data + i, n, substitute, installDir, wide, capacity, &at);
            if (r != CAB_CONTROL_OK)
                return r;
            i += n + 1;
        }
        if (at + 1 > capacity)
            return CAB_CONTROL_TOO_LARGE;
        wide[at++] = 0;
        value->size = (DWORD)(at * sizeof(WCHAR));
        return CAB_CONTROL_OK;
    }
    }
}

/* --- the whole file ----------------------------------------------------------------- */

#define CHECK(result) do { CabControlResult r_ = (result); if (r_ != CAB_CONTROL_OK) return r_; } while (0)

static CabControlResult ReadStrings(Bytes *b, size_t at, unsigned count)
{
    if (count > CAB_MAX_STRINGS)
        return CAB_CONTROL_TOO_LARGE;
    for (unsigned i = 0; i < count; i++) {
        unsigned id = Read16(b, at), length = Read16(b, at + 2);
        CabString s;
        if (!b->ok || id == 0 || FindString(id) || !ReadText(b, at + 4, length, &s.text, &s.length))
            return CAB_CONTROL_DAMAGED;
        s.id = id;
        g_strings[g_stringCount++] = s;
        at += 4 + length;
    }
    return CAB_CONTROL_OK;
}

static CabControlResult ReadFolders(Bytes *b, size_t at, unsigned count)
{
    if (count > CAB_MAX_FOLDERS)
        return CAB_CONTROL_TOO_LARGE;
    for (unsigned i = 0; i < count; i++) {
        unsigned id = Read16(b, at), length = Read16(b, at + 2);
        if (!b->ok || id == 0 || FindFolder(id))
            return CAB_CONTROL_DAMAGED;
        g_folders[g_folderCount].id = id;
        g_folders[g_folderCount].path[0] = 0;
        CHECK(ReadPathSpec(b, at + 4, length, true, g_folders[g_folderCount].path));
        g_folderCount++;
        at += 4 + length;
    }
    return CAB_CONTROL_OK;
}

static CabControlResult ReadFiles(Bytes *b, size_t at, unsigned count, CabControl *control)
{
    if (count > CAB_MAX_FILES)
        return CAB_CONTROL_TOO_LARGE;
    for (unsigned i = 0; i < count; i++) {
        unsigned number = Read16(b, at), folderId = Read16(b, at + 2);
        unsigned length = Read16(b, at + 10);
        const char *name;
        size_t chars;
        const WCHAR *folder = FindFolder(folderId);
        if (!b->ok || number == 0 || number > 999 || !folder || !ReadText(b, at + 12, length, &name, &chars)
            || !IsSafeName(name, chars))
            return CAB_CONTROL_DAMAGED;
        for (size_t k = 0; k < control->fileCount; k++) {
            if (control->files[k].number == number)
                return CAB_CONTROL_DAMAGED;
        }
        CabFile *file = &control->files[control->fileCount++];
        file->number = number;
        file->folder[0] = file->path[0] = 0;
        AppendWide(file->folder, folder);
        AppendWide(file->path, folder);
        if (!AppendName(file->path, name, chars))
            return CAB_CONTROL_TOO_LARGE;
        at += 12 + length;
    }
    return CAB_CONTROL_OK;
}

static CabControlResult ReadHives(Bytes *b, size_t at, unsigned count)
{
    if (count > CAB_MAX_HIVES)
        return CAB_CONTROL_TOO_LARGE;
    for (unsigned i = 0; i < count; i++) {
        unsigned id = Read16(b, at), root = Read16(b, at + 2), length = Read16(b, at + 6);
        if (!b->ok || root < CAB_ROOT_CLASSES || root > CAB_ROOT_USERS)
            return CAB_CONTROL_DAMAGED;
        g_hives[g_hiveCount].id = id;
        g_hives[g_hiveCount].root = root;
        WCHAR *key = g_hives[g_hiveCount].key;
        key[0] = 0;
        CHECK(ReadPathSpec(b, at + 8, length, false, key));
        /* Built as a path; a key path has no leading backslash. */
        size_t n = WideLength(key);
        for (size_t k = 0; k < n; k++)
            key[k] = key[k + 1];
        g_hiveCount++;
        at += 8 + length;
    }
    return CAB_CONTROL_OK;
}

static CabControlResult ReadValues(Bytes *b, size_t at, unsigned count, CabControl *control)
{
    if (count > CAB_MAX_VALUES)
        return CAB_CONTROL_TOO_LARGE;
    for (unsigned i = 0; i < count; i++) {
        unsigned hiveId = Read16(b, at + 2), substitute = Read16(b, at + 4);
        DWORD flags = Read32(b, at + 6);
        unsigned length = Read16(b, at + 10);
        if (!b->ok || !Within(b, at + 12, length))
            return CAB_CONTROL_DAMAGED;
        size_t hive = 0;
        while (hive < g_hiveCount && g_hives[hive].id != hiveId)
            hive++;
        if (hive == g_hiveCount)
            return CAB_CONTROL_DAMAGED;
        const unsigned char *data = b->data + at + 12;
        size_t nameLength = 0;
        while (nameLength < length && data[nameLength])
            nameLength++;
        if (nameLength == length || !IsPlainAscii((const char *)data, nameLength))
            return CAB_CONTROL_DAMAGED;
        CabValue *value = &control->values[control->valueCount++];
        value->root = g_hives[hive].root;
        value->key[0] = 0;
        AppendWide(value->key, g_hives[hive].key);
        if (!Widen((const char *)data, nameLength, value->name, CAB_PATH_MAX))
            return CAB_CONTROL_TOO_LARGE;
        value->noClobber = (flags & 0x2) != 0;
        CHECK(ReadValueData(data + nameLength + 1, length - nameLength - 1, flags, substitute != 0,
                            control->installDir, value));
        at += 12 + length;
    }
    return CAB_CONTROL_OK;
}

static bool EndsWithLnk(const WCHAR *path)
{
    size_t n = WideLength(path);
    if (n < 4)
        return false;
    const WCHAR *e = path + n - 4;
    return e[0] == L'.' && (e[1] | 0x20) == L'l' && (e[2] | 0x20) == L'n' && (e[3] | 0x20) == L'k';
}

static CabControlResult ReadLinks(Bytes *b, size_t at, unsigned count, CabControl *control)
{
    if (count > CAB_MAX_LINKS)
        return CAB_CONTROL_TOO_LARGE;
    for (unsigned i = 0; i < count; i++) {
        unsigned base = Read16(b, at + 4), target = Read16(b, at + 6), kind = Read16(b, at + 8);
        unsigned length = Read16(b, at + 10);
        if (!b->ok)
            return CAB_CONTROL_DAMAGED;
        CabLink *link = &control->links[control->linkCount++];
        link->path[0] = link->target[0] = 0;
        if (base == 0) {
            AppendWide(link->path, control->installDir);
        } else {
            const WCHAR *folder = PocketPcFolder(base);
            if (!folder)
                return base <= 99 ? CAB_CONTROL_UNKNOWN_FOLDER : CAB_CONTROL_DAMAGED;
            AppendWide(link->path, folder);
        }
        CHECK(ReadPathSpec(b, at + 12, length, false, link->path));
        if (!EndsWithLnk(link->path) && !AppendWide(link->path, L".lnk"))
            return CAB_CONTROL_TOO_LARGE;
        if (kind == 1) {
            size_t k = 0;
            while (k < control->fileCount && control->files[k].number != target)
                k++;
            if (k == control->fileCount)
                return CAB_CONTROL_DAMAGED;
            AppendWide(link->target, control->files[k].path);
        } else if (kind == 0) {
            const WCHAR *folder = target == 0 ? control->installDir : FindFolder(target);
            if (!folder)
                return CAB_CONTROL_DAMAGED;
            AppendWide(link->target, folder);
        } else {
            return CAB_CONTROL_DAMAGED;
        }
        at += 12 + length;
    }
    return CAB_CONTROL_OK;
}

static CabControlResult ReadName(Bytes *b, size_t at, size_t length, WCHAR *out)
{
    const char *text;
    size_t chars;
    if (!ReadText(b, at, length, &text, &chars) || chars == 0)
        return CAB_CONTROL_DAMAGED;
    return Widen(text, chars, out, CAB_NAME_MAX) ? CAB_CONTROL_OK : CAB_CONTROL_TOO_LARGE;
}

/* The first N characters of A and B match, ASCII letters in either case. */
static bool PrefixNoCase(const WCHAR *a, const WCHAR *b, size_t n)
{
    for (size_t i = 0; i < n; i++) {
        WCHAR x = a[i] >= L'a' && a[i] <= L'z' ? (WCHAR)(a[i] - 32) : a[i];
        WCHAR y = b[i] >= L'a' && b[i] <= L'z' ? (WCHAR)(b[i] - 32) : b[i];
        if (x != y)
            return false;
    }
    return true;
}

/* Puts the application's folder OWN, and every folder inside it, under ROOT
 * (a storage card): the other folders stay in the device's main store. */
static bool MoveUnder(const WCHAR *own, const WCHAR *root)
{
    WCHAR ownPath[CAB_PATH_MAX];
    ownPath[0] = 0;
    AppendWide(ownPath, own);
    size_t n = WideLength(ownPath);
    for (size_t i = 0; i < g_folderCount; i++) {
        WCHAR *path = g_folders[i].path;
        if (WideLength(path) < n || !PrefixNoCase(path, ownPath, n) || (path[n] != 0 && path[n] != L'\\'))
            continue;
        WCHAR moved[CAB_PATH_MAX];
        moved[0] = 0;
        if (!AppendWide(moved, root) || !AppendWide(moved, path))
            return false;
        path[0] = 0;
        AppendWide(path, moved);
    }
    return true;
}

CabControlResult ReadCabControl(const unsigned char *bytes, size_t size, const WCHAR *storeRoot, CabControl *control)
{
    ZeroMemory(control, sizeof(*control));
    g_stringCount = g_folderCount = g_hiveCount = 0;
    Bytes b = { bytes, size, true };
    if (size < 100 || bytes[0] != 'M' || bytes[1] != 'S' || bytes[2] != 'C' || bytes[3] != 'E'
        || Read32(&b, 8) != size)
        return CAB_CONTROL_DAMAGED;
    control->processor = Read32(&b, 20);
    control->minMajor = Read32(&b, 24);
    control->minMinor = Read32(&b, 28);
    control->maxMajor = Read32(&b, 32);
    control->maxMinor = Read32(&b, 36);

    CHECK(ReadName(&b, Read16(&b, 84), Read16(&b, 86), control->application));
    CHECK(ReadName(&b, Read16(&b, 88), Read16(&b, 90), control->provider));
    control->appKey[0] = 0;
    if (!AppendWide(control->appKey, control->provider) || !AppendWide(control->appKey, L" ")
        || !AppendWide(control->appKey, control->application))
        return CAB_CONTROL_TOO_LARGE;
    /* The key's name is also the uninstall record's file name. */
    char key[CAB_PATH_MAX];
    size_t keyLength = WideLength(control->appKey);
    for (size_t i = 0; i <= keyLength; i++)
        key[i] = (char)control->appKey[i];
    if (!IsSafeName(key, keyLength))
        return CAB_CONTROL_DAMAGED;

    CHECK(ReadStrings(&b, Read32(&b, 60), Read16(&b, 48)));
    CHECK(ReadFolders(&b, Read32(&b, 64), Read16(&b, 50)));
    /* The application's folder is directory 1, else where its first file
     * goes, else a folder of its name under \Program Files. */
    const WCHAR *own = FindFolder(1);
    if (own && storeRoot && !MoveUnder(own, storeRoot))
        return CAB_CONTROL_TOO_LARGE;
    CHECK(ReadFiles(&b, Read32(&b, 68), Read16(&b, 52), control));
    if (own) {
        AppendWide(control->installDir, own);
    } else if (control->fileCount > 0) {
        AppendWide(control->installDir, control->files[0].folder);
    } else {
        AppendWide(control->installDir, PocketPcFolder(1));
        AppendWide(control->installDir, L"\\");
        if (!AppendWide(control->installDir, control->application))
            return CAB_CONTROL_TOO_LARGE;
    }
    CHECK(ReadHives(&b, Read32(&b, 72), Read16(&b, 54)));
    CHECK(ReadValues(&b, Read32(&b, 76), Read16(&b, 56), control));
    CHECK(ReadLinks(&b, Read32(&b, 80), Read16(&b, 58), control));
    return b.ok ? CAB_CONTROL_OK : CAB_CONTROL_DAMAGED;
}
