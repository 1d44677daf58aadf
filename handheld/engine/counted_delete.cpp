#include "engine/counted_delete.h"
#include "engine/cleaning_state.h"

bool DeleteCountedFile(const WCHAR *path, DWORD bytes)
{
    if (!DeleteFileW(path))
        return false;
    g_stats.filesDeleted++;
    g_stats.bytesReclaimed += bytes;
    return true;
}
