/* Report line texts: counters printed signed, the memory with two decimals. */
#include "settings/pages/report_lines.h"
#include "common/bounded_text.h"

void FormatReportLine(int index, const CleaningStatistics &stats, WCHAR *text)
{
    switch (index) {
    case 0: FormatText(text, REPORT_LINE_CHARS, L"Tasks performed:\t\t%d", stats.tasksPerformed); break;
    case 1: FormatText(text, REPORT_LINE_CHARS, L"Applications closed:\t\t%d", stats.applicationsClosed); break;
    case 2: FormatText(text, REPORT_LINE_CHARS, L"Dead registry keys deleted:\t%d", stats.deadRegistryKeysDeleted); break;
    case 3: FormatText(text, REPORT_LINE_CHARS, L"Dead shortcuts deleted:\t%d", stats.deadShortcutsDeleted); break;
    case 4: FormatText(text, REPORT_LINE_CHARS, L"Folders scanned:\t\t%d", stats.foldersScanned); break;
    case 5: FormatText(text, REPORT_LINE_CHARS, L"Temporary folders deleted:\t%d", stats.foldersDeleted); break;
    case 6: FormatText(text, REPORT_LINE_CHARS, L"Temporary files deleted:\t%d", stats.filesDeleted); break;
    case 7: FormatText(text, REPORT_LINE_CHARS, L"Files used by system:\t\t%d", stats.filesUsedBySystem); break;
    /* The byte total wraps modulo 2^32 and is shown as a signed number. */
    case 8: FormatText(text, REPORT_LINE_CHARS, L"Total bytes reclaimed:  %d", (int)stats.bytesReclaimed); break;
    case 9: FormatText(text, REPORT_LINE_CHARS, L"Memory available:\t%.2f MB", stats.memoryAvailableMB); break;
    default: text[0] = 0; break;
    }
}

int ReportLineGap(int index)
{
    return (index == 0 || index == 3 || index == 7) ? 10 : 0;
}
