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

/* The colour of a task's line during a run: red while the task works, black
 * once it is done. */
COLORREF TaskLineColour(bool done);

/* What the cleaning run does to this page: its controls, the drawing rules,
 * pauses and the completion sound. */
extern const CleaningPageOps PROGRESS_PAGE_OPS;

#endif
