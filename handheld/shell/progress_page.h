/*
 * The Progress page (dialog 104), first page of the sheet: the list of the
 * selected tasks with their pending or done icons, Start and the progress bar.
 */
#ifndef KESTRUM_SHELL_PROGRESS_PAGE_H
#define KESTRUM_SHELL_PROGRESS_PAGE_H

#include <windows.h>
#include "engine/cleaning_run.h"

INT_PTR CALLBACK ProgressPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

/* Paints the heading and the task list of page into dc. */
void PaintTaskList(HWND page, HDC dc);

/* What the cleaning run does to this page: its controls, the drawing rules,
 * pauses and the completion sound. */
extern const CleaningPageOps PROGRESS_PAGE_OPS;

#endif
