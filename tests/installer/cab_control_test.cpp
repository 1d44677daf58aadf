/*
 * The installer's reading of a cabinet's control file, over control files
 * built here byte by byte: what a well-formed one installs where, and that a
 * damaged or hostile one is refused before it can name anything outside the
 * device's store or read past its own end.
 */
#include <gtest/gtest.h>
#include <stdint.h>
#include <string>
#include <vector>

#include "cab_control.h"
#include "uninstall_record.h"

namespace {

/* A control file in the making: strings, sections and the header around them. */
struct Control {
    uint32_t processor = 8664, minMajor = 3, minMinor = 0;
    std::string app = "Probe", provider = "Testers";
    std::vector<std::pair<uint16_t, std::string>> strings;
    std::vector<uint8_t> dirs, files, hives, keys, links;
    uint16_t counts[6] = {};
    int lengthSlack = 0; /* added to the stated length: a file that lies about its size */

    uint16_t Str(const std::string &text)
    {
        for (auto &s : strings)
            if (s.second == text)
                return s.first;
        strings.push_back({(uint16_t)(strings.size() + 1), text});
        return strings.back().first;
    }
    static void Put16(std::vector<uint8_t> &b, uint32_t v) { b.push_back(v & 255); b.push_back(v >> 8 & 255); }
    static void Put32(std::vector<uint8_t> &b, uint32_t v) { Put16(b, v & 0xFFFF); Put16(b, v >> 16); }
    std::vector<uint8_t> IdList(const std::vector<std::string> &parts)
    {
        std::vector<uint8_t> s;
        for (auto &p : parts)
            Put16(s, Str(p));
        Put16(s, 0);
        return s;
    }
    void Dir(uint16_t id, const std::vector<std::string> &parts)
    {
        auto s = IdList(parts);
        Put16(dirs, id); Put16(dirs, (uint32_t)s.size()); dirs.insert(dirs.end(), s.begin(), s.end());
        counts[1]++;
    }
    void File(uint16_t number, uint16_t dir, const std::string &name)
    {
        Put16(files, number); Put16(files, dir); Put16(files, number); Put32(files, 0x40000002);
        Put16(files, (uint32_t)name.size() + 1);
        files.insert(files.end(), name.begin(), name.end()); files.push_back(0);
        counts[2]++;
    }
    void Hive(uint16_t id, uint16_t root, const std::vector<std::string> &parts)
    {
        auto s = IdList(parts);
        Put16(hives, id); Put16(hives, root); Put16(hives, 0); Put16(hives, (uint32_t)s.size());
        hives.insert(hives.end(), s.begin(), s.end());
        counts[3]++;
    }
    void Value(uint16_t hive, uint32_t flags, const std::string &name, const std::vector<uint8_t> &data, bool subst = false)
    {
        std::vector<uint8_t> body(name.begin(), name.end());
        body.push_back(0);
        body.insert(body.end(), data.begin(), data.end());
        Put16(keys, counts[4] + 1); Put16(keys, hive); Put16(keys, subst ? 1 : 0); Put32(keys, flags);
        Put16(keys, (uint32_t)body.size()); keys.insert(keys.end(), body.begin(), body.end());
        counts[4]++;
    }
    void Link(uint16_t base, uint16_t target, const std::vector<std::string> &parts)
    {
        auto s = IdList(parts);
        Put16(links, counts[5] + 1); Put16(links, 0); Put16(links, base); Put16(links, target); Put16(links, 1);
        Put16(links, (uint32_t)s.size()); links.insert(links.end(), s.begin(), s.end());
        counts[5]++;
    }
    std::vector<uint8_t> Bytes()
    {
        std::vector<uint8_t> table;
        for (auto &s : strings) {
            Put16(table, s.first); Put16(table, (uint32_t)s.second.size() + 1);
            table.insert(table.end(), s.second.begin(), s.second.end()); table.push_back(0);
        }
        counts[0] = (uint16_t)strings.size();
        std::vector<uint8_t> names(app.begin(), app.end());
        names.push_back(0);
        names.insert(names.end(), provider.begin(), provider.end());
        names.push_back(0);
        const std::vector<uint8_t> *sections[6] = {&table, &dirs, &files, &hives, &keys, &links};
        uint32_t offset = 100 + (uint32_t)names.size(), offsets[6];
        for (int i = 0; i < 6; i++) {
            offsets[i] = offset;
            offset += (uint32_t)sections[i]->size();
        }
        std::vector<uint8_t> b = {'M', 'S', 'C', 'E'};
        Put32(b, 0); Put32(b, offset + lengthSlack); Put32(b, 0); Put32(b, 1); Put32(b, processor);
        Put32(b, minMajor); Put32(b, minMinor); Put32(b, 0); Put32(b, 0); Put32(b, 0); Put32(b, 0);
        for (uint16_t c : counts) Put16(b, c);
        for (uint32_t o : offsets) Put32(b, o);
        Put16(b, 100); Put16(b, (uint32_t)app.size() + 1);
        Put16(b, 100 + (uint32_t)app.size() + 1); Put16(b, (uint32_t)provider.size() + 1);
        Put16(b, 0); Put16(b, 0); Put16(b, 0); Put16(b, 0);
        b.insert(b.end(), names.begin(), names.end());
        for (auto *s : sections) b.insert(b.end(), s->begin(), s->end());
        return b;
    }
};

/* The cabinet the installer sees most: a program, its help, two shortcuts, values of every type. */
Control Typical()
{
    Control c;
    c.Dir(1, {"%CE1%", "Probe"});
    c.Dir(2, {"%CE2%"});
    c.File(1, 1, "probe.exe");
    c.File(2, 2, "probe.htm");
    c.Hive(1, CAB_ROOT_LOCAL_MACHINE, {"Software", "Testers", "Probe"});
    c.Value(1, 0x00000000, "Home", {'%', 'I', 'n', 's', 't', 'a', 'l', 'l', 'D', 'i', 'r', '%', 0}, true);
    c.Value(1, 0x00010001, "Count", {5, 0, 0, 0});
    c.Value(1, 0x00010002, "Lines", {'a', 0, 'b', 'c', 0, 0});
    c.Value(1, 0x00000001, "Blob", {0xDE, 0xAD});
    c.Link(11, 1, {"Probe"});
    c.Link(4, 1, {"Tools", "Probe Start"});
    return c;
}

CabControl g_control;

CabControlResult Read(Control c, const WCHAR *root = NULL)
{
    std::vector<uint8_t> bytes = c.Bytes();
    return ReadCabControl(bytes.data(), bytes.size(), root, &g_control);
}

TEST(CabControl, TypicalCabinetResolvesEveryPathAsAPocketPcDoes)
{
    ASSERT_EQ(CAB_CONTROL_OK, Read(Typical()));
    EXPECT_STREQ(L"Testers Probe", g_control.appKey);
    EXPECT_STREQ(L"\\Program Files\\Probe", g_control.installDir);
    ASSERT_EQ(2u, g_control.fileCount);
    EXPECT_STREQ(L"\\Program Files\\Probe\\probe.exe", g_control.files[0].path);
    EXPECT_STREQ(L"\\Windows\\probe.htm", g_control.files[1].path);
    ASSERT_EQ(2u, g_control.linkCount);
    EXPECT_STREQ(L"\\Windows\\Start Menu\\Programs\\Probe.lnk", g_control.links[0].path);
    EXPECT_STREQ(L"\\Windows\\StartUp\\Tools\\Probe Start.lnk", g_control.links[1].path);
    EXPECT_STREQ(L"\\Program Files\\Probe\\probe.exe", g_control.links[0].target);

    ASSERT_EQ(4u, g_control.valueCount);
    const CabValue *v = g_control.values;
    EXPECT_STREQ(L"Software\\Testers\\Probe", v[0].key);
    EXPECT_EQ((DWORD)REG_SZ, v[0].type);
    EXPECT_STREQ(L"\\Program Files\\Probe", (const WCHAR *)(const void *)v[0].data); /* %InstallDir% replaced */
    EXPECT_EQ((DWORD)REG_DWORD, v[1].type);
    EXPECT_EQ(5u, v[1].data[0]);
    EXPECT_TRUE(v[2].noClobber);
    EXPECT_EQ((DWORD)REG_MULTI_SZ, v[2].type);
    EXPECT_EQ(std::wstring(L"a\0bc\0\0", 6), std::wstring((const WCHAR *)(const void *)v[2].data, v[2].size / 2));
    EXPECT_EQ((DWORD)REG_BINARY, v[3].type);
    EXPECT_EQ(2u, v[3].size);
}

TEST(CabControl, StorageCardTakesTheProgramsFolderButNotWindows)
{
    ASSERT_EQ(CAB_CONTROL_OK, Read(Typical(), L"\\Storage Card"));
    EXPECT_STREQ(L"\\Storage Card\\Program Files\\Probe", g_control.installDir);
    EXPECT_STREQ(L"\\Storage Card\\Program Files\\Probe\\probe.exe", g_control.files[0].path);
    EXPECT_STREQ(L"\\Windows\\probe.htm", g_control.files[1].path);
    EXPECT_STREQ(L"\\Windows\\Start Menu\\Programs\\Probe.lnk", g_control.links[0].path);
    EXPECT_STREQ(L"\\Storage Card\\Program Files\\Probe\\probe.exe", g_control.links[0].target);
}

/* Each case: one fault in an otherwise good file, and what the reader must say. */
struct Fault {
    const char *what;
    void (*spoil)(Control &);
    CabControlResult expected;
};

const Fault FAULTS[] = {
    {"a folder that climbs out with ..", [](Control &c) { c.Dir(3, {"%CE1%", ".."}); }, CAB_CONTROL_DAMAGED},
    {"a folder naming another drive", [](Control &c) { c.Dir(3, {"C:", "Windows"}); }, CAB_CONTROL_DAMAGED},
    {"a file name that is a path", [](Control &c) { c.File(3, 1, "..\\..\\boot.ini"); }, CAB_CONTROL_DAMAGED},
    {"a file name with a forward slash", [](Control &c) { c.File(3, 1, "a/b"); }, CAB_CONTROL_DAMAGED},
    {"a file number twice", [](Control &c) { c.File(1, 2, "again.exe"); }, CAB_CONTROL_DAMAGED},
    {"a file number 0, the control file's", [](Control &c) { c.File(0, 1, "zero.exe"); }, CAB_CONTROL_DAMAGED},
    {"a file in a folder that is not listed", [](Control &c) { c.File(3, 9, "lost.exe"); }, CAB_CONTROL_DAMAGED},
    {"a folder of a string id not listed", [](Control &c) {
         Control::Put16(c.dirs, 3); Control::Put16(c.dirs, 4); Control::Put16(c.dirs, 999); Control::Put16(c.dirs, 0);
         c.counts[1]++; }, CAB_CONTROL_DAMAGED},
    {"a stated length beyond the file", [](Control &c) { c.lengthSlack = 1; }, CAB_CONTROL_DAMAGED},
    {"more entries counted than there are", [](Control &c) { c.counts[2]++; }, CAB_CONTROL_DAMAGED},
    {"a shortcut to a file not listed", [](Control &c) { c.Link(11, 7, {"Ghost"}); }, CAB_CONTROL_DAMAGED},
    {"a hive root that does not exist", [](Control &c) { c.Hive(2, 9, {"Software"}); }, CAB_CONTROL_DAMAGED},
    {"a dword of three bytes", [](Control &c) { c.Value(1, 0x00010001, "Short", {1, 2, 3}); }, CAB_CONTROL_DAMAGED},
    {"a string value without its end", [](Control &c) { c.Value(1, 0, "Open", {'a', 'b'}); }, CAB_CONTROL_DAMAGED},
    {"an application name that is a path", [](Control &c) { c.app = "..\\..\\Windows\\win"; }, CAB_CONTROL_DAMAGED},
    {"a provider name with a drive", [](Control &c) { c.provider = "C:"; }, CAB_CONTROL_DAMAGED},
    {"a name that is not ASCII", [](Control &c) { c.app = "Pr\xc3\xb6" "be"; }, CAB_CONTROL_DAMAGED},
    {"%CE3%, which a Pocket PC has not", [](Control &c) { c.Dir(3, {"%CE3%", "Desk"}); }, CAB_CONTROL_UNKNOWN_FOLDER},
    {"a shortcut into %CE16%", [](Control &c) { c.Link(16, 1, {"Recent"}); }, CAB_CONTROL_UNKNOWN_FOLDER},
    {"a path longer than the device's", [](Control &c) {
         c.Dir(3, {"%CE1%", std::string(120, 'a'), std::string(120, 'b'), std::string(30, 'c')}); }, CAB_CONTROL_TOO_LARGE},
};

TEST(CabControl, DamagedOrHostileControlFilesAreRefused)
{
    for (const Fault &f : FAULTS) {
        Control c = Typical();
        f.spoil(c);
        EXPECT_EQ(f.expected, Read(c)) << f.what;
    }
}

TEST(CabControl, EveryCutOfAGoodFileIsRefused)
{
    std::vector<uint8_t> bytes = Typical().Bytes();
    for (size_t cut = 0; cut < bytes.size(); cut++)
        EXPECT_NE(CAB_CONTROL_OK, ReadCabControl(bytes.data(), cut, NULL, &g_control)) << "cut at " << cut;
}

TEST(CabControl, ProcessorAndVersionDecideWhetherItFitsTheDevice)
{
    ASSERT_EQ(CAB_CONTROL_OK, Read(Typical()));
    EXPECT_EQ(CAB_FITS, CabFitsDevice(&g_control, 8664, 3, 0));
    EXPECT_EQ(CAB_OTHER_PROCESSOR, CabFitsDevice(&g_control, 586, 3, 0));
    Control arm = Typical();
    arm.processor = 2577; /* StrongARM: the Pocket PC's own cabinet */
    ASSERT_EQ(CAB_CONTROL_OK, Read(arm));
    EXPECT_EQ(CAB_OTHER_PROCESSOR, CabFitsDevice(&g_control, 8664, 3, 0));
    Control any = Typical();
    any.processor = 0;
    ASSERT_EQ(CAB_CONTROL_OK, Read(any));
    EXPECT_EQ(CAB_FITS, CabFitsDevice(&g_control, 586, 3, 0));
    Control later = Typical();
    later.minMajor = 4;
    later.minMinor = 20;
    ASSERT_EQ(CAB_CONTROL_OK, Read(later));
    EXPECT_EQ(CAB_LATER_VERSION, CabFitsDevice(&g_control, 8664, 3, 0));
    later.minMajor = 3;
    later.minMinor = 1;
    ASSERT_EQ(CAB_CONTROL_OK, Read(later));
    EXPECT_EQ(CAB_LATER_VERSION, CabFitsDevice(&g_control, 8664, 3, 0));
}

InstallRecord g_record, g_parsed;
char g_text[RECORD_TEXT_MAX];

TEST(UninstallRecord, WhatIsWrittenReadsBackItemForItem)
{
    lstrcpyW(g_record.appKey, L"Testers Probe");
    g_record.count = 0;
    ASSERT_TRUE(AddRecordItem(&g_record, RECORD_FOLDER, 0, L"\\Program Files\\Probe", NULL));
    ASSERT_TRUE(AddRecordItem(&g_record, RECORD_FILE, 0, L"\\Program Files\\Probe\\probe.exe", NULL));
    ASSERT_TRUE(AddRecordItem(&g_record, RECORD_SHORTCUT, 0, L"\\Windows\\StartUp\\Probe.lnk", NULL));
    ASSERT_TRUE(AddRecordItem(&g_record, RECORD_KEY, CAB_ROOT_CURRENT_USER, L"Software\\Testers", NULL));
    ASSERT_TRUE(AddRecordItem(&g_record, RECORD_VALUE, CAB_ROOT_CURRENT_USER, L"Software\\Testers", L""));
    size_t length = 0;
    ASSERT_TRUE(FormatRecord(&g_record, g_text, sizeof(g_text), &length));
    EXPECT_EQ(0, memcmp(g_text, "application\tTesters Probe\r\nfolder\t\\Program Files\\Probe\r\n", 55));
    ASSERT_TRUE(ParseRecord(g_text, length, &g_parsed));
    EXPECT_STREQ(L"Testers Probe", g_parsed.appKey);
    ASSERT_EQ(g_record.count, g_parsed.count);
    for (size_t i = 0; i < g_record.count; i++) {
        EXPECT_EQ(g_record.items[i].kind, g_parsed.items[i].kind) << i;
        EXPECT_EQ(g_record.items[i].root, g_parsed.items[i].root) << i;
        EXPECT_STREQ(g_record.items[i].path, g_parsed.items[i].path) << i;
        EXPECT_STREQ(g_record.items[i].name, g_parsed.items[i].name) << i; /* the default value: empty */
    }
}

TEST(UninstallRecord, ItsFileIsInAppMgrWhateverTheNameSays)
{
    WCHAR path[CAB_PATH_MAX];
    ASSERT_TRUE(RecordPath(L"Tarnwick Kestrum", path, CAB_PATH_MAX));
    EXPECT_STREQ(L"\\Windows\\AppMgr\\Tarnwick Kestrum.unload", path);
    EXPECT_FALSE(RecordPath(L"..\\..\\boot", path, CAB_PATH_MAX));
    EXPECT_FALSE(RecordPath(L"D:x", path, CAB_PATH_MAX));
    EXPECT_FALSE(RecordPath(L"", path, CAB_PATH_MAX));
}

TEST(UninstallRecord, AnythingElseIsNotARecord)
{
    const char *const BAD[] = {
        "",                                                   /* no application line */
        "folder\t\\Program Files\r\n",                        /* items before it */
        "application\tA\r\nfolder\r\n",                       /* an item without its path */
        "application\tA\r\nkey\tHKXX\tSoftware\r\n",          /* a root that is none */
        "application\tA\r\nvalue\tHKLM\tSoftware\r\n",        /* a value without its name */
        "application\tA\r\ndelete\t\\Windows\r\n",            /* a kind it never writes */
    };
    for (const char *text : BAD)
        EXPECT_FALSE(ParseRecord(text, strlen(text), &g_parsed)) << text;
}

} // namespace
