/* Decisions of the Settings page, free of window calls. */
#include "settings/settings_fields.h"
#include "platform/bounded_text.h"

#include <stdio.h>

DWORD AgeLimitFromText(const WCHAR *text, DWORD current)
{
    WCHAR bounded[DAYS_TEXT_CHARS + 1];
    size_t n = BoundedLength(text, DAYS_TEXT_CHARS);
    memcpy(bounded, text, n * sizeof(WCHAR));
    bounded[n] = 0;
    if (n == 0)
        return current;
    unsigned int days;
    if (swscanf(bounded, L"%u", &days) != 1)
        return current;
    return days;
}

bool StartUpShortcutTarget(const WCHAR *programPath, WCHAR *target)
{
    return FormatText(target, PATH_CHARS, L"\"%s\" S", programPath);
}
