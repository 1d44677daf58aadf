/*
 * The page procedures of the Options (dialog 105), Settings (dialog 108) and
 * Report (dialog 106) pages, registered with the main window's sheet.
 */
#ifndef KESTRUM_SETTINGS_PAGES_SETTINGS_PAGES_H
#define KESTRUM_SETTINGS_PAGES_SETTINGS_PAGES_H

#include <windows.h>

INT_PTR CALLBACK OptionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK SettingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ReportPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

#endif
