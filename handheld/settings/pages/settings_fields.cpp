/* Decisions of the Settings page, free of window calls. */
#include "settings/pages/settings_fields.h"
#include "common/bounded_text.h"

static bool IsBlank(WCHAR c)
{
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}

/* Reads the text as "%u" does: leading blanks, an optional sign, then at
 * least one digit. Only the first DAYS_TEXT_CHARS characters count, so the
 * number cannot overflow. */
DWORD AgeLimitFromText(const WCHAR *text, DWORD current)
{
    size_t n = BoundedLength(text, DAYS_TEXT_CHARS);
    size_t i = 0;
    while (i < n && IsBlank(text[i]))
        i++;
    bool negative = false;
    if (i < n && (text[i] == L'+' || text[i] == L'-'))
        negative = text[i++] == L'-';
    if (i == n || text[i] < L'0' || text[i] > L'9')
        return current;
    DWORD days = 0;
    for (; i < n && text[i] >= L'0' && text[i] <= L'9'; i++)
        days = days * 10 + (DWORD)(text[i] - L'0');
    return negative ? (DWORD)0 - days : days;
}

bool StartUpShortcutTarget(const WCHAR *programPath, WCHAR *target)
{
    return FormatText(target, PATH_CHARS, L"\"%s\" S", programPath);
}
