/*
 * Text helpers for the fixed-size UTF-16 buffers used throughout the program.
 * Every call takes the capacity of its destination in characters (terminator
 * included) and never writes past it: a result that would not fit is refused,
 * the call returns false and the destination holds an empty string.
 */
#ifndef KESTRUM_COMMON_BOUNDED_TEXT_H
#define KESTRUM_COMMON_BOUNDED_TEXT_H

#include <windows.h>
#include <stddef.h>

/* Element count of an array: the desktop's headers define it, the handheld's do not. */
#ifndef ARRAYSIZE
#define ARRAYSIZE(array) (sizeof(array) / sizeof((array)[0]))
#endif

/* Paths are held with their terminator in buffers of this many characters. */
enum { PATH_CHARS = 260 };

bool CopyText(WCHAR *dst, size_t capacity, const WCHAR *src);
bool AppendText(WCHAR *dst, size_t capacity, const WCHAR *src);

/* dst = folder + "\\" + name, the way every entry path is built. */
bool JoinPath(WCHAR *dst, size_t capacity, const WCHAR *folder, const WCHAR *name);

/* Formats into dst with the C runtime's wide formatter (%d, %u, %s, %.2f).
 * Always terminated; returns false (and dst empty) when the text would not fit. */
bool FormatText(WCHAR *dst, size_t capacity, const WCHAR *format, ...);

/* Length of text held in a field of capacity characters that may lack a terminator. */
size_t BoundedLength(const WCHAR *text, size_t capacity);

/* Comparisons that ignore letter case the way the file system does (A-Z only). */
bool StartsWithNoCase(const WCHAR *text, const WCHAR *prefix);
bool EndsWithNoCase(const WCHAR *text, const WCHAR *suffix);

#endif
