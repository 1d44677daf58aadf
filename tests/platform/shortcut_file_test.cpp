/* Shortcut files on the device: what is written, and what is read back
 * from well-formed, damaged and oversized files. */
#include <gtest/gtest.h>
#include <string>

#include "device.h"
#include "platform/shortcut_file.h"


TEST(ShortcutFile, CreateWritesTheHandheldFormAndReadGivesItBack)
{
    MakeFolders(L"\\Temp\\lnk");
    const WCHAR *path = L"\\Temp\\lnk\\a.lnk";
    ASSERT_TRUE(PlatformCreateShortcutFile(path, L"\"\\Windows\\a.exe\""));
    EXPECT_EQ(FileBytes(path), "16#\"\\Windows\\a.exe\"");
    WCHAR target[260];
    ASSERT_TRUE(PlatformReadShortcutTarget(path, target, 260));
    EXPECT_STREQ(target, L"\"\\Windows\\a.exe\"");

    /* Creating again replaces the shortcut. */
    ASSERT_TRUE(PlatformCreateShortcutFile(path, L"\"\\Program Files\\Kestrum\\Kestrum.exe\" S"));
    EXPECT_EQ(FileBytes(path), "38#\"\\Program Files\\Kestrum\\Kestrum.exe\" S");
    ASSERT_TRUE(PlatformReadShortcutTarget(path, target, 260));
    EXPECT_STREQ(target, L"\"\\Program Files\\Kestrum\\Kestrum.exe\" S");
}

TEST(ShortcutFile, LongestTargetFitsAndLongerIsRefused)
{
    std::wstring longest = L"\"\\Program Files\\" + std::wstring(259 - 17, L'p') + L"\"";
    ASSERT_EQ(longest.size(), 259u);
    const WCHAR *path = L"\\Temp\\lnk\\long.lnk";
    MakeFolders(L"\\Temp\\lnk");
    ASSERT_TRUE(PlatformCreateShortcutFile(path, longest.c_str()));
    WCHAR target[260];
    ASSERT_TRUE(PlatformReadShortcutTarget(path, target, 260));
    EXPECT_EQ(std::wstring(target), longest);

    /* The same target does not fit a smaller buffer; nothing is written past it. */
    WCHAR small[40];
    for (WCHAR &c : small)
        c = L'z';
    EXPECT_FALSE(PlatformReadShortcutTarget(path, small, 32));
    EXPECT_STREQ(small, L"");
    EXPECT_EQ(small[32], L'z');

    EXPECT_FALSE(PlatformCreateShortcutFile(L"\\Temp\\lnk\\longer.lnk", (longest + L"x").c_str()));
    EXPECT_FALSE(PathExists(L"\\Temp\\lnk\\longer.lnk"));
    EXPECT_FALSE(PlatformCreateShortcutFile(L"\\Temp\\lnk\\empty.lnk", L""));
    EXPECT_FALSE(PlatformCreateShortcutFile(L"\\Temp\\lnk\\break.lnk", L"\"\\a.exe\"\r\nx"));
    EXPECT_FALSE(PathExists(L"\\Temp\\lnk\\break.lnk"));
}

TEST(ShortcutFile, DamagedOrForeignFilesAreNotRead)
{
    std::string oversized = "16#\"\\Windows\\a.exe\"" + std::string(10000, ' ');
    struct Case {
        const WCHAR *name;
        std::string bytes;
        const WCHAR *target; /* NULL: reading fails */
    } cases[] = {
        { L"crlf.lnk", "16#\"\\Windows\\a.exe\"\r\n", L"\"\\Windows\\a.exe\"" },
        { L"garbage.lnk", std::string("\x4c\x00\x00\x00\x01\x14\x02\x00", 8), NULL },
        { L"toolong.lnk", "260#\"" + std::string(258, 'x') + "\"", NULL },
        { L"oversized.lnk", oversized, NULL },
        { L"bom.lnk", "\xEF\xBB\xBF" "16#\"\\Windows\\a.exe\"", NULL },
    };
    for (const Case &c : cases) {
        std::wstring path = std::wstring(L"\\Temp\\lnk\\") + c.name;
        MakeTextFile(path, c.bytes);
        WCHAR target[260] = L"unchanged";
        bool ok = PlatformReadShortcutTarget(path.c_str(), target, 260);
        EXPECT_EQ(ok, c.target != NULL) << (const wchar_t *)c.name;
        EXPECT_STREQ(target, c.target ? c.target : L"") << (const wchar_t *)c.name;
    }
    WCHAR target[260];
    EXPECT_FALSE(PlatformReadShortcutTarget(L"\\Temp\\lnk\\missing.lnk", target, 260));
    EXPECT_FALSE(PlatformReadShortcutTarget(L"\\Temp\\lnk", target, 260)); /* a folder */
}
