/*
 * FDI reads the cabinet through callbacks. The cabinet itself is opened as a
 * file; each member is "written" into a memory block instead of the disk, so
 * the whole cabinet has been read and checked before the installer acts.
 * FDI knows handles only as numbers: file handles are passed through as they
 * are, memory blocks as -2 - their member number.
 */
#include "cab_unpack.h"

#include <fcntl.h>
#include <fdi.h>

static const WCHAR *g_cabPath;       /* the cabinet FDI is reading */
static CabContents *g_contents;
static size_t g_total;               /* bytes held so far */
static bool g_damaged, g_tooLarge;

static FNALLOC(UnpackAlloc) { return HeapAlloc(GetProcessHeap(), 0, cb); }
static FNFREE(UnpackFree) { HeapFree(GetProcessHeap(), 0, pv); }

static bool IsMemberHandle(INT_PTR h) { return h <= -2 && h >= -2 - (CAB_MEMBER_NUMBERS - 1); }
static CabMember *MemberOf(INT_PTR h) { return &g_contents->members[-2 - h]; }

/* FDI opens only the cabinet it was given (its name is that path's, in ANSI). */
static FNOPEN(UnpackOpen)
{
    (void)pszFile;
    if (oflag & (_O_WRONLY | _O_RDWR | _O_CREAT))
        return -1;
    HANDLE file = CreateFileW(g_cabPath, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    return file == INVALID_HANDLE_VALUE ? -1 : (INT_PTR)file;
}

static FNREAD(UnpackRead)
{
    if (IsMemberHandle(hf))
        return (UINT)-1;
    DWORD got = 0;
    return ReadFile((HANDLE)hf, pv, cb, &got, NULL) ? got : (UINT)-1;
}

static FNWRITE(UnpackWrite)
{
    if (!IsMemberHandle(hf))
        return (UINT)-1;
    CabMember *m = MemberOf(hf);
    if (cb > CAB_CONTENTS_MAX - g_total) {
        g_tooLarge = true;
        return (UINT)-1;
    }
    unsigned char *grown = m->data ? (unsigned char *)HeapReAlloc(GetProcessHeap(), 0, m->data, m->size + cb)
                                   : (unsigned char *)HeapAlloc(GetProcessHeap(), 0, cb ? cb : 1);
    if (!grown) {
        g_tooLarge = true;
        return (UINT)-1;
    }
    m->data = grown;
    CopyMemory(m->data + m->size, pv, cb);
    m->size += cb;
    g_total += cb;
    return cb;
}

static FNCLOSE(UnpackClose)
{
    if (IsMemberHandle(hf))
        return 0;
    return CloseHandle((HANDLE)hf) ? 0 : -1;
}

static FNSEEK(UnpackSeek)
{
    if (IsMemberHandle(hf))
        return -1;
    DWORD method = seektype == SEEK_SET ? FILE_BEGIN : seektype == SEEK_CUR ? FILE_CURRENT : FILE_END;
    LARGE_INTEGER move, at;
    move.QuadPart = dist;
    if (!SetFilePointerEx((HANDLE)hf, move, &at, method))
        return -1;
    return (long)at.QuadPart;
}

int CabMemberNumber(const char *name)
{
    size_t n = 0;
    while (name[n])
        n++;
    if (n < 5 || name[n - 4] != '.')
        return -1;
    int number = 0;
    for (size_t i = n - 3; i < n; i++) {
        if (name[i] < '0' || name[i] > '9')
            return -1;
        number = number * 10 + (name[i] - '0');
    }
    return number;
}

static FNFDINOTIFY(UnpackNotify)
{
    switch (fdint) {
    case fdintCOPY_FILE: {
        int number = CabMemberNumber(pfdin->psz1);
        if (number < 0 || g_contents->members[number].present) {
            g_damaged = true;
            return -1;
        }
        g_contents->members[number].present = true;
        g_contents->members[number].stated = (size_t)pfdin->cb;
        return -2 - number;
    }
    case fdintCLOSE_FILE_INFO:
        /* A member shorter than the cabinet says was cut short. */
        if (!IsMemberHandle(pfdin->hf) || MemberOf(pfdin->hf)->size != MemberOf(pfdin->hf)->stated) {
            g_damaged = true;
            return FALSE;
        }
        return TRUE;
    case fdintNEXT_CABINET:
        /* An installation cabinet is one file; a set of several is not one. */
        g_damaged = true;
        return -1;
    default:
        return 0;
    }
}

void FreeCabContents(CabContents *contents)
{
    for (size_t i = 0; i < CAB_MEMBER_NUMBERS; i++) {
        if (contents->members[i].data)
            HeapFree(GetProcessHeap(), 0, contents->members[i].data);
        contents->members[i].data = NULL;
        contents->members[i].size = 0;
        contents->members[i].present = false;
        contents->members[i].stated = 0;
    }
}

CabUnpackResult UnpackCab(const WCHAR *path, CabContents *contents)
{
    ZeroMemory(contents, sizeof(*contents));
    HANDLE probe = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (probe == INVALID_HANDLE_VALUE)
        return CAB_UNPACK_NOT_FOUND;
    FDICABINETINFO info;
    ERF erf;
    g_cabPath = path;
    g_contents = contents;
    g_total = 0;
    g_damaged = g_tooLarge = false;
    HFDI fdi = FDICreate(UnpackAlloc, UnpackFree, UnpackOpen, UnpackRead, UnpackWrite, UnpackClose, UnpackSeek,
                         cpuUNKNOWN, &erf);
    if (!fdi) {
        CloseHandle(probe);
        return CAB_UNPACK_TOO_LARGE;
    }
    /* One cabinet, not part of a set, and as long as its header says: a
     * cabinet cut short is refused before any member is read. */
    LARGE_INTEGER fileSize;
    bool isCabinet = FDIIsCabinet(fdi, (INT_PTR)probe, &info) && !info.hasnext && !info.hasprev
        && GetFileSizeEx(probe, &fileSize) && fileSize.QuadPart == (LONGLONG)info.cbCabinet;
    CloseHandle(probe);
    /* FDI joins the two names it is given; UnpackOpen opens g_cabPath. */
    char name[] = "cabinet", folder[] = "";
    bool copied = isCabinet && FDICopy(fdi, name, folder, 0, UnpackNotify, NULL, NULL);
    FDIDestroy(fdi);
    if (copied && !g_damaged && !g_tooLarge)
        return CAB_UNPACK_OK;
    FreeCabContents(contents);
    return g_tooLarge ? CAB_UNPACK_TOO_LARGE : CAB_UNPACK_DAMAGED;
}
