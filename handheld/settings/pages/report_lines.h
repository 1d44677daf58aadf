/*
 * The ten lines of the Report, formatted from the cleaning statistics, with
 * the extra space that follows some of them.
 */
#ifndef KESTRUM_SETTINGS_PAGES_REPORT_LINES_H
#define KESTRUM_SETTINGS_PAGES_REPORT_LINES_H

#include <windows.h>
#include "engine/cleaning_state.h"

enum { REPORT_LINE_COUNT = 10, REPORT_LINE_CHARS = 128 };

/* Formats line index (0-9) from stats into text (REPORT_LINE_CHARS). */
void FormatReportLine(int index, const CleaningStatistics &stats, WCHAR *text);

/* Extra pixels below line index: 10 after lines 1, 4 and 8, otherwise 0. */
int ReportLineGap(int index);

#endif
