/* Wires each task's work into the run's table of operations. */
#include "engine/cleaning_work.h"
#include "engine/dead_entries.h"
#include "engine/folder_purge.h"
#include "engine/internet_history.h"
#include "closer/closer.h"

void SetCleaningWork(CleaningRunOps *ops)
{
    ops->closePrograms = CloseRunningPrograms;
    ops->purgeWindowsTemp = PurgeWindowsTempFolder;
    ops->purgeFolder = PurgeFolder;
    ops->purgeRegisteredFolder = PurgeRegisteredFolder;
    ops->purgeFixedFolder = PurgeFixedFolder;
    ops->deleteAddressHistory = DeleteAddressHistory;
    ops->sweepDeadRegistryKeys = SweepDeadRegistryKeys;
    ops->cleanDeadAppManagerFiles = CleanAppManager;
    ops->sweepStartMenuShortcuts = SweepStartMenuShortcuts;
    ops->sweepStartUpShortcuts = SweepStartUpShortcuts;
}
