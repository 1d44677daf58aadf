/* Bounded copies, appends and joins over fixed-size UTF-16 buffers. */
#include "common/bounded_text.h"

#include <stdarg.h>
#include <stdio.h>

size_t BoundedLength(const WCHAR *text, size_t capacity)
{
    size_t n = 0;
    while (n < capacity && text[n])
        n++;
    return n;
}

bool CopyText(WCHAR *dst, size_t capacity, const WCHAR *src)
{
    if (capacity == 0)
        return false;
    dst[0] = 0;
    return AppendText(dst, capacity, src);
}

bool AppendText(WCHAR *dst, size_t capacity, const WCHAR *src)
{
    size_t used = BoundedLength(dst, capacity);
    if (used == capacity) {
        if (capacity)
            dst[0] = 0;
        return false;
    }
    size_t add = lstrlenW(src);
    if (add >= capacity - used) {
        dst[0] = 0;
        return false;
    }
    memcpy(dst + used, src, add * sizeof(WCHAR));
    dst[used + add] = 0;
    return true;
}

bool JoinPath(WCHAR *dst, size_t capacity, const WCHAR *folder, const WCHAR *name)
{
    return CopyText(dst, capacity, folder) && AppendText(dst, capacity, L"\\")
        && AppendText(dst, capacity, name);
}

static WCHAR FoldCase(WCHAR c)
{
    return (c >= L'a' && c <= L'z') ? (WCHAR)(c - L'a' + L'A') : c;
}

bool StartsWithNoCase(const WCHAR *text, const WCHAR *prefix)
{
    for (; *prefix; text++, prefix++) {
        if (FoldCase(*text) != FoldCase(*prefix))
            return false;
    }
    return true;
}

bool EndsWithNoCase(const WCHAR *text, const WCHAR *suffix)
{
    size_t n = lstrlenW(text), m = lstrlenW(suffix);
    return n >= m && StartsWithNoCase(text + (n - m), suffix);
}

bool FormatText(WCHAR *dst, size_t capacity, const WCHAR *format, ...)
{
    if (capacity == 0)
        return false;
    va_list args;
    va_start(args, format);
    /* The runtime's formatter leaves the buffer unterminated when it is full. */
    int n = _vsnwprintf(dst, capacity - 1, format, args);
    va_end(args);
    dst[capacity - 1] = 0;
    if (n < 0 || (size_t)n >= capacity) {
        dst[0] = 0;
        return false;
    }
    return true;
}
