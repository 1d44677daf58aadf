/*
 * Path fields written from outside without a terminator: loading keeps every
 * stored byte and a save writes them back unchanged, while the readers of a
 * field take at most its first 259 characters and never the next field.
 */
#include <gtest/gtest.h>
#include <vector>
#include "device.h"
#include "settings/settings_record.h"

namespace {

/* A 1048-byte value: flags, age, then each path field filled from text
 * (repeated up to 260 units, or terminated and followed by leftovers). */
std::vector<BYTE> Value(const std::wstring &first, const std::wstring &second)
{
    std::vector<BYTE> value(1048, 0xEE); /* bytes after a terminator are kept too */
    const DWORD flags = 0xC; /* tasks 3 and 4 */
    const DWORD age = 7;
    memcpy(value.data(), &flags, 4);
    memcpy(value.data() + 4, &age, 4);
    memcpy(value.data() + 8, first.data(), first.size() * 2);
    memcpy(value.data() + 528, second.data(), second.size() * 2);
    return value;
}

std::vector<BYTE> Stored()
{
    std::vector<BYTE> stored(1100);
    DWORD size = (DWORD)stored.size();
    if (ReadRegistryValue(HKEY_LOCAL_MACHINE, SETTINGS_KEY, SETTINGS_VALUE, stored.data(), &size) != ERROR_SUCCESS)
        return {};
    stored.resize(size);
    return stored;
}

std::wstring ReaderText(const WCHAR *field)
{
    WCHAR text[261];
    text[260] = L'#'; /* FolderPathText must stay within 260 characters */
    FolderPathText(field, text);
    EXPECT_EQ(text[260], L'#');
    return text;
}

} // namespace

TEST(SettingsBytes, UnterminatedFieldsLoadAndSaveByteForByte)
{
    const std::wstring full1(260, L'a'), full2(260, L'b');
    const std::wstring shortPath(L"\\Temp\0", 6);
    struct Case {
        const char *what;
        std::wstring first, second;
        std::wstring shown1, shown2;
    } cases[] = {
        { "both full", full1, full2, std::wstring(259, L'a'), std::wstring(259, L'b') },
        { "first full", full1, shortPath, std::wstring(259, L'a'), L"\\Temp" },
        { "second full", shortPath, full2, L"\\Temp", std::wstring(259, L'b') },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        DeleteKeyTree(HKEY_LOCAL_MACHINE, SETTINGS_KEY);
        std::vector<BYTE> value = Value(c.first, c.second);
        ASSERT_EQ(WriteRegistryBytes(HKEY_LOCAL_MACHINE, SETTINGS_KEY, SETTINGS_VALUE, value.data(), 1048),
                  ERROR_SUCCESS);

        LoadSettings();
        EXPECT_EQ(memcmp(&g_settings, value.data(), 1048), 0) << "loading repaired a byte";
        EXPECT_EQ(ReaderText(g_settings.folder1Path), c.shown1);
        EXPECT_EQ(ReaderText(g_settings.folder2Path), c.shown2);

        SaveSettings();
        EXPECT_EQ(Stored(), value) << "a save changed a byte that was loaded";
    }
    DeleteKeyTree(HKEY_LOCAL_MACHINE, SETTINGS_KEY);
}
