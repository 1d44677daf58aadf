/*
 * Shortcut files in the handheld's text form. The target is held in the
 * single-byte code page, one byte per character, so the stored length is
 * both the byte count and the character count of the target.
 */
#include "platform/shortcut_file.h"

#include <stdio.h>

/* Longest well-formed file: three digits, "#", the longest target, "\r\n". */
enum { SHORTCUT_FILE_MAX = 3 + 1 + SHORTCUT_TARGET_MAX + 2 };

bool PlatformParseShortcutText(const char *bytes, size_t count, size_t *start, size_t *length)
{
    size_t digits = 0;
    size_t stated = 0;
    while (digits < count && bytes[digits] >= '0' && bytes[digits] <= '9') {
        if (digits == 3)
            return false;
        stated = stated * 10 + (size_t)(bytes[digits] - '0');
        digits++;
    }
    if (digits == 0 || digits == count || bytes[digits] != '#')
        return false;
    if (stated > SHORTCUT_TARGET_MAX)
        return false;

    size_t first = digits + 1;
    size_t body = count - first;
    if (body < stated)
        return false; /* cut short */
    const char *rest = bytes + first + stated;
    size_t extra = body - stated;
    bool lineEnd = extra == 0 || (extra == 1 && rest[0] == '\n')
        || (extra == 2 && rest[0] == '\r' && rest[1] == '\n');
    if (!lineEnd)
        return false;

    for (size_t i = 0; i < stated; i++) {
        char c = bytes[first + i];
        if (c == 0 || c == '\r' || c == '\n')
            return false;
    }
    *start = first;
    *length = stated;
    return true;
}

bool PlatformReadShortcutTarget(const WCHAR *path, WCHAR *target, size_t capacity)
{
    if (capacity == 0)
        return false;
    target[0] = 0;

    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    /* One byte more than the longest shortcut: a longer file shows as too long. */
    char bytes[SHORTCUT_FILE_MAX + 1];
    size_t count = 0;
    bool readOk = true;
    while (count < sizeof(bytes)) {
        DWORD got = 0;
        if (!ReadFile(file, bytes + count, (DWORD)(sizeof(bytes) - count), &got, NULL)) {
            readOk = false;
            break;
        }
        if (got == 0)
            break;
        count += got;
    }
    CloseHandle(file);
    if (!readOk)
        return false;

    size_t start, length;
    if (!PlatformParseShortcutText(bytes, count, &start, &length))
        return false;
    if (length >= capacity)
        return false;
    if (length == 0)
        return true;
    int chars = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes + start, (int)length, target, (int)(capacity - 1));
    if (chars <= 0) {
        target[0] = 0;
        return false;
    }
    target[chars] = 0;
    return true;
}

bool PlatformCreateShortcutFile(const WCHAR *path, const WCHAR *target)
{
    int length = lstrlenW(target);
    if (length == 0 || length > SHORTCUT_TARGET_MAX)
        return false;
    for (int i = 0; i < length; i++) {
        if (target[i] == L'\r' || target[i] == L'\n')
            return false;
    }

    /* The length in decimal (1 to 3 digits), then '#'. */
    char text[SHORTCUT_FILE_MAX];
    int digits = 0;
    if (length >= 100)
        text[digits++] = (char)('0' + length / 100);
    if (length >= 10)
        text[digits++] = (char)('0' + length / 10 % 10);
    text[digits++] = (char)('0' + length % 10);
    text[digits++] = '#';
    BOOL lossy = FALSE;
    int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, target, length, text + digits,
        (int)sizeof(text) - digits, NULL, &lossy);
    /* Each character must be one byte, or the stated length would lie. */
    if (bytes != length || lossy)
        return false;
    DWORD total = (DWORD)(digits + bytes);

    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, text, total, &written, NULL);
    CloseHandle(file);
    if (!ok || written != total) {
        DeleteFileW(path); /* never leave a half-written shortcut behind */
        return false;
    }
    return true;
}
