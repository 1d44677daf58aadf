/*
 * The settings record against a real registry: the stored bytes, the first
 * run, the one-time migration of the old value, and values written from
 * outside that are too short, too long or unterminated.
 */
#include <gtest/gtest.h>
#include <vector>
#include "device.h"
#include "settings/settings_record.h"
#include "platform/bounded_text.h"

static const wchar_t *OLD_PARENT = L"SOFTWARE\\Tarnwick";

static std::vector<BYTE> StoredValue(const wchar_t *key)
{
    BYTE buffer[70000];
    DWORD size = sizeof(buffer);
    if (ReadRegistryValue(HKEY_LOCAL_MACHINE, key, L"Settings", buffer, &size) != ERROR_SUCCESS)
        return {};
    return std::vector<BYTE>(buffer, buffer + size);
}

static void StoreRaw(const wchar_t *key, const std::vector<BYTE> &bytes, DWORD type = REG_BINARY)
{
    HKEY h;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &h, NULL), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(h, L"Settings", 0, type, bytes.data(), (DWORD)bytes.size()), ERROR_SUCCESS);
    RegCloseKey(h);
}

static std::vector<BYTE> OldValue(DWORD days, const std::wstring &path, size_t total = 536)
{
    std::vector<BYTE> old(total, 0);
    memset(old.data(), 0xAB, 12); /* the unused head must not leak anywhere */
    memcpy(old.data() + 12, &days, 4);
    memcpy(old.data() + 16, path.data(), std::min(path.size() * 2, total - 16));
    return old;
}

class SettingsStore : public testing::Test {
protected:
    void SetUp() override
    {
        DeleteKeyTree(HKEY_LOCAL_MACHINE, SETTINGS_KEY);
        DeleteKeyTree(HKEY_LOCAL_MACHINE, OLD_PARENT);
        memset(&g_settings, 0x5A, sizeof(g_settings));
    }
};

TEST_F(SettingsStore, FirstRunTakesDefaultsAndStoresExactlyTheirBytes)
{
    LoadSettings();
    EXPECT_EQ(g_settings.flags, 0xC07F7u);
    EXPECT_EQ(g_settings.ageLimitDays, 0u);
    EXPECT_STREQ(g_settings.folder1Path, L"\\My Documents\\Temp");
    EXPECT_STREQ(g_settings.folder2Path, L"\\My Documents\\Temp1");

    SettingsRecord expected;
    memset(&expected, 0, sizeof(expected));
    expected.flags = 0xC07F7;
    wcscpy(expected.folder1Path, L"\\My Documents\\Temp");
    wcscpy(expected.folder2Path, L"\\My Documents\\Temp1");
    std::vector<BYTE> stored = StoredValue(SETTINGS_KEY);
    ASSERT_EQ(stored.size(), 1048u);
    EXPECT_EQ(memcmp(stored.data(), &expected, 1048), 0) << "padding or stale bytes were stored";

    DWORD type = 0;
    HKEY h;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, KEY_READ, &h), ERROR_SUCCESS);
    RegQueryValueExW(h, L"Settings", NULL, &type, NULL, NULL);
    RegCloseKey(h);
    EXPECT_EQ(type, (DWORD)REG_BINARY);
}

TEST_F(SettingsStore, FirstRunMigratesTheOldValueOnceAndDeletesOnlyItsKey)
{
    StoreRaw(OLD_SETTINGS_KEY, OldValue(14, L"\\Storage Card\\Temp"));
    LoadSettings();
    EXPECT_EQ(g_settings.ageLimitDays, 14u);
    EXPECT_STREQ(g_settings.folder1Path, L"\\Storage Card\\Temp");
    EXPECT_STREQ(g_settings.folder2Path, L"\\My Documents\\Temp1");
    EXPECT_EQ(g_settings.flags, 0xC07F7u);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, OLD_SETTINGS_KEY));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, OLD_PARENT)) << "the parent of the old key must stay";
    std::vector<BYTE> stored = StoredValue(SETTINGS_KEY);
    ASSERT_EQ(stored.size(), 1048u);
    EXPECT_EQ(memcmp(stored.data(), &g_settings, 1048), 0);

    /* A later start uses the program's own value and never looks at a recreated old key. */
    StoreRaw(OLD_SETTINGS_KEY, OldValue(99, L"\\Elsewhere"));
    LoadSettings();
    EXPECT_EQ(g_settings.ageLimitDays, 14u);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, OLD_SETTINGS_KEY));
}

TEST_F(SettingsStore, OldValueTooLongIsNotMigratedAndItsKeyStays)
{
    StoreRaw(OLD_SETTINGS_KEY, OldValue(14, L"\\Old", 600));
    LoadSettings();
    EXPECT_EQ(g_settings.ageLimitDays, 0u);
    EXPECT_STREQ(g_settings.folder1Path, L"\\My Documents\\Temp");
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, OLD_SETTINGS_KEY));
    EXPECT_EQ(StoredValue(SETTINGS_KEY).size(), 1048u);
}

TEST_F(SettingsStore, OldPathWithoutTerminatorIsCutAt259)
{
    StoreRaw(OLD_SETTINGS_KEY, OldValue(3, std::wstring(260, L'x')));
    LoadSettings();
    EXPECT_EQ(wcslen(g_settings.folder1Path), 259u);
    EXPECT_EQ(g_settings.folder2Path[0], L'\\') << "the cut must not spill into the next field";
}

TEST_F(SettingsStore, ShortStoredValueFillsTheStartAndIsNotWrittenBack)
{
    std::vector<BYTE> eight = { 0x05, 0x00, 0x01, 0x00, 0x07, 0x00, 0x00, 0x00 };
    StoreRaw(SETTINGS_KEY, eight);
    StoreRaw(OLD_SETTINGS_KEY, OldValue(14, L"\\Old"));
    LoadSettings();
    EXPECT_EQ(g_settings.flags, 0x10005u);
    EXPECT_EQ(g_settings.ageLimitDays, 7u);
    EXPECT_STREQ(g_settings.folder1Path, L"");
    EXPECT_STREQ(g_settings.folder2Path, L"");
    EXPECT_EQ(StoredValue(SETTINGS_KEY).size(), 8u);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, OLD_SETTINGS_KEY)) << "not a first run: old key untouched";
}

TEST_F(SettingsStore, ValuesOfOddSizesAndTypesNeverOverrunTheRecord)
{
    struct { size_t size; DWORD type; bool readable; } cases[] = {
        { 0, REG_BINARY, true }, { 1, REG_BINARY, true }, { 1047, REG_BINARY, true },
        { 1048, REG_SZ, true }, { 1049, REG_BINARY, false }, { 65536, REG_BINARY, false },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.size);
        std::vector<BYTE> bytes(c.size, 0x41);
        StoreRaw(SETTINGS_KEY, bytes, c.type);
        LoadSettings();
        if (c.readable) {
            DWORD expectedFlags = c.size >= 4 ? 0x41414141u : 0;
            if (c.size == 1)
                expectedFlags = 0x41;
            EXPECT_EQ(g_settings.flags, expectedFlags);
        } else {
            SettingsRecord zero;
            memset(&zero, 0, sizeof(zero));
            EXPECT_EQ(memcmp(&g_settings, &zero, sizeof(zero)), 0) << "an unreadable value leaves the record all zero";
        }
        WCHAR path[PATH_CHARS];
        FolderPathText(g_settings.folder1Path, path);
        EXPECT_LE(wcslen(path), 259u);
        FolderPathText(g_settings.folder2Path, path);
        EXPECT_LE(wcslen(path), 259u);
        EXPECT_EQ(StoredValue(SETTINGS_KEY).size(), c.size) << "loading never writes back";
    }
}

TEST_F(SettingsStore, SaveRecreatesAKeyDeletedFromOutside)
{
    LoadSettings();
    g_settings.ageLimitDays = 30;
    DeleteKeyTree(HKEY_LOCAL_MACHINE, SETTINGS_KEY);
    ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, SETTINGS_KEY));
    SaveSettings();
    std::vector<BYTE> stored = StoredValue(SETTINGS_KEY);
    ASSERT_EQ(stored.size(), 1048u);
    EXPECT_EQ(memcmp(stored.data(), &g_settings, 1048), 0);
}

TEST(RegistryHelpers, ReportThePlatformsResultCodes)
{
    BYTE buffer[16];
    DWORD size = sizeof(buffer);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\KestrumTest");
    EXPECT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\KestrumTest", L"v", buffer, &size), ERROR_FILE_NOT_FOUND);

    const BYTE bytes[] = { 1, 2, 3, 4, 5 };
    EXPECT_EQ(WriteRegistryBytes(HKEY_LOCAL_MACHINE, L"SOFTWARE\\KestrumTest\\Deep\\Key", L"v", bytes, 5), ERROR_SUCCESS);
    size = sizeof(buffer);
    EXPECT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\KestrumTest\\Deep\\Key", L"v", buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(memcmp(buffer, bytes, 5), 0);

    size = 4;
    EXPECT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\KestrumTest\\Deep\\Key", L"v", buffer, &size), ERROR_MORE_DATA);
    size = sizeof(buffer);
    EXPECT_EQ(ReadRegistryValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\KestrumTest\\Deep\\Key", L"missing", buffer, &size), ERROR_FILE_NOT_FOUND);
    DeleteKeyTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\KestrumTest");
}
