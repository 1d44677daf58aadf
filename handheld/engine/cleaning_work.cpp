/* Each task's work, as the run calls it. */
#include "engine/cleaning_work.h"
#include "engine/dead_entries.h"
#include "engine/folder_purge.h"
#include "engine/internet_history.h"
#include "closer/closer.h"

const CleaningWorkOps CLEANING_WORK = {
    CloseRunningPrograms,
    PurgeWindowsTempFolder,
    PurgeFolder,
    PurgeRegisteredFolder,
    PurgeFixedFolder,
    DeleteAddressHistory,
    SweepDeadRegistryKeys,
    CleanAppManager,
    SweepStartMenuShortcuts,
    SweepStartUpShortcuts,
};
