/*
 * The Settings page over a stored record whose first path fills its field
 * without a terminator: saves before the page is left keep the loaded bytes;
 * leaving the page stores each path as the page showed it, cut to 259
 * characters and terminated.
 */
#include "page_fixture.h"
#include "resources/resource.h"

class SettingsBytes : public PageTest {};

TEST_F(SettingsBytes, LeavingThePageTerminatesEachPath)
{
    for (int i = 0; i < 260; ++i)
        g_settings.folder1Path[i] = L'a';
    memcpy(g_settings.folder2Path, L"\\two\0left\0over", 15 * sizeof(WCHAR));
    const SettingsRecord loaded = g_settings;

    SendMessageW(main, WM_ACTIVATE, WA_INACTIVE, 0);
    SettingsRecord stored;
    ASSERT_TRUE(StoredSettings(&stored));
    EXPECT_EQ(memcmp(&stored, &loaded, sizeof(stored)), 0) << "a save before the page was left changed a byte";

    ShowSheetPage(IDD_SETTINGS);
    ShowSheetPage(IDD_REPORT);
    ASSERT_TRUE(StoredSettings(&stored));
    SettingsRecord expected = loaded;
    expected.folder1Path[259] = 0; /* the 259 characters shown, terminated; the rest as loaded */
    EXPECT_EQ(memcmp(&stored, &expected, sizeof(stored)), 0) << "leaving the page stores what it showed";
}
