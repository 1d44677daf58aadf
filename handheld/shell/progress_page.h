/*
 * The Progress page (dialog 104), first page of the sheet.
 */
#ifndef KESTRUM_SHELL_PROGRESS_PAGE_H
#define KESTRUM_SHELL_PROGRESS_PAGE_H

#include <windows.h>

INT_PTR CALLBACK ProgressPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

#endif
