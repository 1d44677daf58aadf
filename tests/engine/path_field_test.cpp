/*
 * The run's readers of the two folder fields when a field holds no
 * terminator: the purge target and the drawn line are the field's first 259
 * characters, never the field after it, and the field keeps its bytes.
 */
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "engine/cleaning_run.h"
#include "engine/cleaning_state.h"
#include "engine/internet_history.h"
#include "quiet_page.h"
#include "settings/record/settings_record.h"

namespace {

std::vector<std::wstring> g_targets;

int NoClose(HWND, DWORD) { return 0; }
void Nothing() {}
void NothingFor(const InternetFolders &) {}
void NothingOn(HWND) {}
void Purge(const WCHAR *path) { g_targets.push_back(path); }

const CleaningWorkOps RECORDING_WORK = {
    NoClose, Nothing, Purge, NothingFor, NothingFor, Nothing, Nothing, Nothing, Nothing, NothingOn,
};

} // namespace

TEST(PathFields, RunTakesAtMost259CharactersOfAFullField)
{
    memset(&g_settings, 0, sizeof(g_settings));
    g_settings.flags = OPT_FOLDER1 | OPT_FOLDER2;
    for (int i = 0; i < 260; i++) {
        g_settings.folder1Path[i] = L'a';
        g_settings.folder2Path[i] = L'b';
    }
    SettingsRecord before = g_settings;
    FillTaskTable();
    LoadPendingTaskMask();
    g_targets.clear();
    QuietPageLog log;

    RunCleaning(QuietPage(), QuietPageOps(&log), &RECORDING_WORK);

    const std::vector<std::wstring> expected = { std::wstring(259, L'a'), std::wstring(259, L'b') };
    EXPECT_EQ(g_targets, expected);
    EXPECT_EQ(log.completed, expected);
    EXPECT_EQ(memcmp(&before, &g_settings, sizeof(before)), 0) << "the run changed the record";
}
