/*
 * Shortcut files as the handheld keeps them: single-byte text with no
 * byte-order mark and no line end, the target's length in characters, "#",
 * then the target command line exactly as stored (quotation marks and
 * arguments included), e.g. 16#"\Windows\a.exe". A trailing line end left
 * by a text editor is tolerated when reading.
 */
#ifndef KESTRUM_PLATFORM_SHORTCUT_FILE_H
#define KESTRUM_PLATFORM_SHORTCUT_FILE_H

#include <windows.h>
#include <stddef.h>

/* Longest target a shortcut may hold: it must fit a 260-character buffer. */
enum { SHORTCUT_TARGET_MAX = 259 };
/* Longest target the handheld's shell writes: a longer one fails there. */
enum { SHELL_SHORTCUT_TARGET_MAX = 256 };

/* Writes (or replaces) the shortcut at path. Refuses an empty target, one
 * longer than SHORTCUT_TARGET_MAX, one holding a line break, or one the
 * single-byte code page cannot spell exactly; on the handheld also one
 * longer than SHELL_SHORTCUT_TARGET_MAX. No file is written then, and a
 * shortcut already at path stays as it was; a write that fails once begun
 * may leave no shortcut at path. */
bool PlatformCreateShortcutFile(const WCHAR *path, const WCHAR *target);

/* Reads the stored target into target (capacity characters, terminator
 * included). Fails, leaving target empty, when the file cannot be read, is
 * not in the shortcut form, or its target would not fit. Never reads more
 * than a shortcut can hold from the file. */
bool PlatformReadShortcutTarget(const WCHAR *path, WCHAR *target, size_t capacity);

/* What a shortcut file says, from its bytes: on success the target text is
 * bytes[*start .. *start + *length). Fails for anything not in the form
 * "<1-3 digits>#<exactly that many bytes>" optionally followed by one line
 * end, for a target longer than SHORTCUT_TARGET_MAX, and for a target that
 * holds a NUL or a line break. */
bool PlatformParseShortcutText(const char *bytes, size_t count, size_t *start, size_t *length);

#endif
