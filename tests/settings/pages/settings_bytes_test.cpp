/*
 * The Settings page over a stored record whose first path fills its field
 * without a terminator: leaving the page untouched saves the loaded bytes
 * unchanged, and a path typed on the page is the only thing that changes.
 */
#include "page_fixture.h"
#include "resources/resource.h"

class SettingsBytes : public PageTest {};

TEST_F(SettingsBytes, LeavingThePageWritesBackOnlyWhatWasTyped)
{
    for (int i = 0; i < 260; ++i)
        g_settings.folder1Path[i] = L'a';
    memcpy(g_settings.folder2Path, L"\\two\0left\0over", 15 * sizeof(WCHAR));
    const SettingsRecord loaded = g_settings;

    HWND page = ShowSheetPage(IDD_SETTINGS);
    ShowSheetPage(IDD_REPORT);
    SettingsRecord stored;
    ASSERT_TRUE(StoredSettings(&stored));
    EXPECT_EQ(memcmp(&stored, &loaded, sizeof(stored)), 0) << "an untouched page changed the stored bytes";

    SetDlgItemTextW(page, IDC_SETTINGS_FOLDER2, L"\\new");
    ShowSheetPage(IDD_SETTINGS);
    ShowSheetPage(IDD_REPORT);
    ASSERT_TRUE(StoredSettings(&stored));
    SettingsRecord expected = loaded;
    memcpy(expected.folder2Path, L"\\new", 5 * sizeof(WCHAR));
    EXPECT_EQ(memcmp(&stored, &expected, sizeof(stored)), 0) << "only the typed path may change";
}
