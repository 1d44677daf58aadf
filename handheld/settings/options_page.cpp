/*
 * The Options page (dialog 105). So far it only accepts its initialisation
 * (WM_INITDIALOG answers 1); its controls, painting and help are not built
 * yet, and every other message answers 0.
 */
#include "settings/settings_pages.h"

INT_PTR CALLBACK OptionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)page;
    (void)wParam;
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG:
        return 1;
    }
    return 0;
}
