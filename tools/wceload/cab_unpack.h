/*
 * A whole cabinet read into memory through the platform's cabinet API (FDI),
 * before anything on the device changes: each member file by its three-digit
 * number. The contents live until FreeCabContents.
 */
#ifndef WCELOAD_CAB_UNPACK_H
#define WCELOAD_CAB_UNPACK_H

#include <stddef.h>
#include <windows.h>

/* Numbers 000 to 999; the .000 is the control file. */
enum { CAB_MEMBER_NUMBERS = 1000 };
/* No cabinet for a 32 MB store holds more than this. */
enum { CAB_CONTENTS_MAX = 24 * 1024 * 1024 };

struct CabMember {
    bool present;
    unsigned char *data;   /* HeapAlloc'd; NULL when empty */
    size_t size;
    size_t stated;         /* the size the cabinet gives it */
};

struct CabContents {
    CabMember members[CAB_MEMBER_NUMBERS];
};

enum CabUnpackResult {
    CAB_UNPACK_OK,
    CAB_UNPACK_NOT_FOUND,   /* the file cannot be opened */
    CAB_UNPACK_DAMAGED,     /* not a cabinet, cut short, a member not named NAME.NNN, a number twice */
    CAB_UNPACK_TOO_LARGE
};

/* Reads every member of the cabinet at PATH into *contents. On failure
 * nothing is left allocated. */
CabUnpackResult UnpackCab(const WCHAR *path, CabContents *contents);

void FreeCabContents(CabContents *contents);

/* The number of a member name "NAME.NNN", or -1 when it has none. */
int CabMemberNumber(const char *name);

#endif
