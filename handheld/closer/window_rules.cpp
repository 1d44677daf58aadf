/*
 * Which top-level windows the closer asks to close. Plain functions of what
 * was captured of a window; every comparison is case-sensitive, as the
 * handheld's own programs name themselves exactly.
 */
#include "closer/closer.h"

#include <wchar.h>

static const WCHAR CALCULATOR_FILE[] = L"calc.exe";
static const WCHAR CALCULATOR_CLASS[] = L"ADVCALC";
static const WCHAR CALCULATOR_TITLE[] = L"Calculator";
static const WCHAR SHELL_FILE[] = L"shell32.exe";
static const WCHAR ACTIVESYNC_TITLE[] = L"ActiveSync";

/* Windows whose title holds one of these are never closed: the resident
 * strip and gauge utilities, and this program's own windows. */
static const WCHAR *const SPARED_TITLE_PARTS[] = {
    L"Lantern Strip",
    L"Kestrum",
    L"Gauge Deck",
};

const WCHAR *DecideWindow(const CapturedWindow *window)
{
    if (!window->visible || !window->processFound)
        return NULL;

    /* Only the file name tells programs apart; a path without a folder is not
     * a path the process list gives, so the window is not trusted. */
    const WCHAR *slash = wcsrchr(window->executablePath, L'\\');
    if (slash == NULL)
        return NULL;
    const WCHAR *fileName = slash + 1;

    const WCHAR *title = window->title;
    if (wcscmp(fileName, CALCULATOR_FILE) == 0 && wcscmp(window->className, CALCULATOR_CLASS) == 0) {
        /* The calculator shows no title but still holds memory. */
        title = CALCULATOR_TITLE;
    } else {
        if (title[0] == 0)
            return NULL;
        if (wcscmp(fileName, SHELL_FILE) == 0)
            return NULL;
    }

    for (size_t i = 0; i < sizeof(SPARED_TITLE_PARTS) / sizeof(SPARED_TITLE_PARTS[0]); i++) {
        if (wcsstr(title, SPARED_TITLE_PARTS[i]) != NULL)
            return NULL;
    }
    return title;
}

bool ShouldPostClose(const WCHAR *title, DWORD keepActiveSync)
{
    return keepActiveSync == 0 || wcscmp(title, ACTIVESYNC_TITLE) != 0;
}
