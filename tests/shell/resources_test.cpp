/*
 * The resources compiled into Kestrum.exe, read back from the program itself
 * (its copy helper_kestrum.exe travels beside the tests): dialog templates
 * control by control, the menu and menu bar, the string, the icons, the strip
 * bitmaps' formats and end colours, and the sound's format.
 */
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "platform/menu_bar.h"
#include "resources/resource.h"
#include "kestrum_program.h"

namespace {

struct Control {
    int id;
    const wchar_t *className;
    const wchar_t *text;
    short x, y, cx, cy;
    DWORD style;
};

struct Dialog {
    int id;
    DWORD style;
    short cx, cy;
    std::vector<Control> controls;
};

/* A control's text or class in a template: a string, or 0xFFFF and a number. */
std::wstring ReadNameOrOrdinal(const WORD *&p)
{
    if (*p == 0xFFFF) {
        WORD ordinal = p[1];
        p += 2;
        return L"#" + std::to_wstring(ordinal);
    }
    std::wstring text((const wchar_t *)p);
    p += text.size() + 1;
    return text;
}

std::wstring AtomClass(const std::wstring &name)
{
    static const struct { const wchar_t *ordinal, *name; } atoms[] = {
        {L"#128", L"BUTTON"}, {L"#129", L"EDIT"}, {L"#130", L"STATIC"}};
    for (auto &a : atoms)
        if (name == a.ordinal)
            return a.name;
    return name;
}

const WORD *Align(const WORD *p)
{
    return (const WORD *)(((ULONG_PTR)p + 3) & ~(ULONG_PTR)3);
}

/* Parses a plain DLGTEMPLATE with DS_SETFONT into a Dialog. */
Dialog ParseDialog(HMODULE module, int id, std::wstring *font, WORD *pointSize)
{
    Dialog d{id, 0, 0, 0, {}};
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), (LPCWSTR)RT_DIALOG);
    EXPECT_TRUE(found != NULL) << "dialog " << id;
    if (!found)
        return d;
    const DLGTEMPLATE *t = (const DLGTEMPLATE *)LockResource(LoadResource(module, found));
    EXPECT_NE(((const WORD *)t)[1], 0xFFFF) << "dialog " << id << " is a plain template";
    d.style = t->style;
    d.cx = t->cx;
    d.cy = t->cy;
    const WORD *p = (const WORD *)(t + 1);
    ReadNameOrOrdinal(p); /* menu */
    ReadNameOrOrdinal(p); /* class */
    ReadNameOrOrdinal(p); /* caption */
    if (t->style & DS_SETFONT) {
        *pointSize = *p++;
        *font = ReadNameOrOrdinal(p);
    }
    for (int i = 0; i < t->cdit; ++i) {
        p = Align(p);
        const DLGITEMTEMPLATE *item = (const DLGITEMTEMPLATE *)p;
        p = (const WORD *)(item + 1);
        Control c;
        c.id = (short)item->id;
        static std::deque<std::wstring> keep; /* texts outlive the parse; a deque never moves them */
        keep.push_back(AtomClass(ReadNameOrOrdinal(p)));
        c.className = keep.back().c_str();
        keep.push_back(ReadNameOrOrdinal(p));
        c.text = keep.back().c_str();
        WORD extra = *p++;
        p = (const WORD *)((const BYTE *)p + extra);
        c.x = item->x;
        c.y = item->y;
        c.cx = item->cx;
        c.cy = item->cy;
        c.style = item->style;
        d.controls.push_back(c);
    }
    return d;
}

const DWORD CHECK = 0x50010003;   /* child, visible, tab stop, automatic check box */
const DWORD LABEL = 0x50020000;   /* child, visible, group */
const DWORD FOLDER = 0x50830080;  /* child, visible, border, tab stop, group, auto scroll */

const std::vector<Dialog> &ExpectedDialogs()
{
    static const std::vector<Dialog> dialogs = {
        {IDD_ABOUT, 0, 138, 148, {
            {-1, L"STATIC", L"#101", 17, 22, 20, 20, 0x50000003},
            {IDC_ABOUT_VERSION, L"STATIC", L"", 39, 20, 92, 8, 0x50000002},
            {-1, L"STATIC", nullptr, 7, 116, 124, 16, 0x50000002},
            {IDC_ABOUT_WEB, L"STATIC", nullptr, 7, 133, 124, 8, 0x50000002}}},
        {IDD_PROGRESS, 0, 138, 145, {
            {1001, L"BUTTON", L"Start", 94, 126, 38, 12, 0x50010001},
            {1020, L"msctls_progress32", L"Progress1", 6, 131, 85, 7, 0x40800000}}},
        {IDD_OPTIONS, 0x56000040, 138, 146, {
            {1009, L"BUTTON", L"Stop running programs", 7, 20, 124, 10, CHECK},
            {1003, L"BUTTON", L"Windows temorary folder", 7, 30, 124, 10, CHECK},
            {1012, L"BUTTON", L"My temporary folder 1", 7, 40, 124, 10, CHECK},
            {1018, L"BUTTON", L"My temporary folder 2", 7, 50, 124, 10, CHECK},
            {1004, L"BUTTON", L"IE cache", 7, 60, 124, 10, CHECK},
            {1011, L"BUTTON", L"IE history folder", 7, 70, 124, 10, CHECK},
            {1008, L"BUTTON", L"IE address history (registry)", 7, 80, 124, 10, CHECK},
            {1016, L"BUTTON", L"IE cookies", 7, 90, 124, 10, CHECK},
            {1015, L"BUTTON", L"Dead registry keys", 7, 100, 124, 10, CHECK},
            {1013, L"BUTTON", L"Dead AppManager files", 7, 110, 124, 10, CHECK},
            {1014, L"BUTTON", L"Dead shortcuts", 7, 120, 124, 10, CHECK},
            {1010, L"BUTTON", L"Reserved", 7, 130, 124, 10, 0x40010003}}},
        {IDD_REPORT, 0x80000040, 140, 138, {}},
        {IDD_SETTINGS, 0x40000040, 136, 142, {
            {-1, L"STATIC", L"Delete files older then:", 6, 75, 74, 9, LABEL},
            {1019, L"EDIT", L"", 80, 73, 31, 12, 0x50812001},
            {1024, L"msctls_updown32", L"Spin", 120, 123, 11, 14, 0x50010036},
            {-1, L"STATIC", L"My temporary folder 2:", 6, 45, 93, 9, LABEL},
            {1009, L"EDIT", L"", 6, 55, 125, 12, FOLDER},
            {-1, L"STATIC", L"days", 113, 74, 18, 9, 0x50000000},
            {1003, L"BUTTON", L"Run at Soft Reset", 6, 89, 81, 10, CHECK},
            {1004, L"BUTTON", L"Do not close ActiveSync", 6, 109, 125, 10, CHECK},
            {1005, L"BUTTON", L"Sound On", 6, 127, 50, 10, CHECK},
            {1006, L"BUTTON", L"Exit program when finished", 6, 99, 125, 10, CHECK},
            {-1, L"STATIC", L"My temporary folder 1:", 6, 18, 93, 9, LABEL},
            {1010, L"EDIT", L"", 6, 29, 125, 12, FOLDER}}},
    };
    return dialogs;
}

} // namespace

TEST(Resources, DialogTemplatesHoldEveryControlAsListed)
{
    HMODULE module = KestrumResources();
    ASSERT_TRUE(module != NULL);
    for (const Dialog &expected : ExpectedDialogs()) {
        SCOPED_TRACE(testing::Message() << "dialog " << expected.id);
        std::wstring font;
        WORD points = 0;
        Dialog actual = ParseDialog(module, expected.id, &font, &points);
        EXPECT_EQ(actual.cx, expected.cx);
        EXPECT_EQ(actual.cy, expected.cy);
        EXPECT_EQ(font, L"System");
        EXPECT_EQ(points, 8);
        if (expected.style) {
            EXPECT_EQ(actual.style, expected.style);
        }
        ASSERT_EQ(actual.controls.size(), expected.controls.size());
        for (size_t i = 0; i < expected.controls.size(); ++i) {
            const Control &e = expected.controls[i], &a = actual.controls[i];
            SCOPED_TRACE(testing::Message() << "control " << i << " id " << e.id);
            EXPECT_EQ(a.id, e.id);
            EXPECT_EQ(lstrcmpiW(a.className, e.className), 0);
            if (e.text) {
                EXPECT_STREQ(a.text, e.text);
            }
            EXPECT_EQ(a.x, e.x);
            EXPECT_EQ(a.y, e.y);
            EXPECT_EQ(a.cx, e.cx);
            EXPECT_EQ(a.cy, e.cy);
            EXPECT_EQ(a.style, e.style) << std::hex << a.style;
        }
    }
}

TEST(Resources, ToolsMenuAndMenuBarOpenTheToolsPopup)
{
    HMODULE module = KestrumResources();
    HMENU menu = LoadMenuW(module, MAKEINTRESOURCEW(IDR_MENUBAR));
    ASSERT_TRUE(menu != NULL);
    WCHAR text[64];
    GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"Tools");
    HMENU tools = GetSubMenu(menu, 0);
    ASSERT_TRUE(tools != NULL);
    static const struct { UINT id; const wchar_t *text; } items[] = {
        {IDM_SOFT_RESET, L"Soft Reset"}, {IDM_POWER_OFF, L"Power Off"}, {IDM_CLOSE_ALL, L"Close All"},
        {0, L""}, {IDM_ABOUT, L"About"}};
    ASSERT_EQ(GetMenuItemCount(tools), 5);
    for (int i = 0; i < 5; ++i) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_FTYPE;
        ASSERT_TRUE(GetMenuItemInfoW(tools, i, TRUE, &info));
        if (items[i].id == 0) {
            EXPECT_TRUE(info.fType & MFT_SEPARATOR) << "item " << i;
            continue;
        }
        EXPECT_EQ(info.wID, items[i].id);
        GetMenuStringW(tools, i, text, 64, MF_BYPOSITION);
        EXPECT_STREQ(text, items[i].text);
    }
    DestroyMenu(menu);

    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDR_MENUBAR), (LPCWSTR)RT_RCDATA);
    ASSERT_TRUE(found != NULL);
    MenuBarLayout bar;
    ASSERT_TRUE(PlatformParseMenuBarResource((const BYTE *)LockResource(LoadResource(module, found)),
                                     SizeofResource(module, found), &bar));
    EXPECT_EQ(bar.menuId, IDR_MENUBAR);
    ASSERT_EQ(bar.buttonCount, 1);
    EXPECT_EQ(bar.buttons[0].image, MENU_BAR_NO_IMAGE);
    EXPECT_EQ(bar.buttons[0].command, IDM_TOOLS);
    EXPECT_EQ(bar.buttons[0].state, 4);   /* enabled */
    EXPECT_EQ(bar.buttons[0].style, 0x18); /* drop-down, auto-size */
    EXPECT_EQ(bar.buttons[0].stringId, IDS_TOOLS);
    EXPECT_EQ(bar.buttons[0].popup, 0);

    ASSERT_GT(LoadStringW(module, IDS_TOOLS, text, 64), 0);
    EXPECT_STREQ(text, L"Tools");
}

TEST(Resources, IconsAreSixteenColourImagesOfTheListedSizes)
{
    HMODULE module = KestrumResources();
    static const struct { int id; std::vector<int> sizes; } icons[] = {
        {IDI_KESTRUM, {16, 32}}, {IDI_TASK_DONE, {16}}, {IDI_TASK_PENDING, {16}}};
#pragma pack(push, 2)
    struct GroupEntry { BYTE width, height, colours, reserved; WORD planes, bits; DWORD bytes; WORD id; };
#pragma pack(pop)
    for (auto &icon : icons) {
        SCOPED_TRACE(testing::Message() << "icon " << icon.id);
        HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(icon.id), (LPCWSTR)RT_GROUP_ICON);
        ASSERT_TRUE(found != NULL);
        const WORD *group = (const WORD *)LockResource(LoadResource(module, found));
        ASSERT_EQ(group[2], icon.sizes.size());
        const GroupEntry *entries = (const GroupEntry *)(group + 3);
        for (size_t i = 0; i < icon.sizes.size(); ++i) {
            EXPECT_EQ(entries[i].width, icon.sizes[i]);
            EXPECT_EQ(entries[i].height, icon.sizes[i]);
            EXPECT_EQ(entries[i].colours, 16);
            EXPECT_EQ(entries[i].bits, 4);
            /* The image itself: a 4-bit DIB of that size (height doubled for the mask). */
            HRSRC image = FindResourceW(module, MAKEINTRESOURCEW(entries[i].id), (LPCWSTR)RT_ICON);
            ASSERT_TRUE(image != NULL);
            const BITMAPINFOHEADER *dib = (const BITMAPINFOHEADER *)LockResource(LoadResource(module, image));
            EXPECT_EQ(dib->biWidth, icon.sizes[i]);
            EXPECT_EQ(dib->biHeight, 2 * icon.sizes[i]);
            EXPECT_EQ(dib->biBitCount, 4);
        }
        HICON loaded = (HICON)LoadImageW(module, MAKEINTRESOURCEW(icon.id), IMAGE_ICON, 16, 16, 0);
        EXPECT_TRUE(loaded != NULL);
        DestroyIcon(loaded);
    }
}

TEST(Resources, StripBitmapsAreGradientsBetweenTheirEndColours)
{
    HMODULE module = KestrumResources();
    const COLORREF white = RGB(255, 255, 255), aqua = RGB(204, 240, 238), blue = RGB(214, 227, 246);
    static const struct { int id; COLORREF left, right; } strips[] = {
        {IDB_STRIP_REPORT_BODY, white, aqua},
        {IDB_STRIP_PROGRESS_BODY, white, blue},
        {IDB_STRIP_REPORT_HEADER, blue, white},
        {IDB_STRIP_HEADER, aqua, white},
    };
    for (auto &strip : strips) {
        SCOPED_TRACE(testing::Message() << "bitmap " << strip.id);
        HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(strip.id), (LPCWSTR)RT_BITMAP);
        ASSERT_TRUE(found != NULL);
        const BITMAPINFOHEADER *dib = (const BITMAPINFOHEADER *)LockResource(LoadResource(module, found));
        ASSERT_EQ(dib->biWidth, 240);
        ASSERT_EQ(dib->biHeight, 4);
        ASSERT_EQ(dib->biBitCount, 24);
        ASSERT_EQ(dib->biCompression, (DWORD)BI_RGB);
        const BYTE *pixels = (const BYTE *)(dib + 1);
        for (int row = 0; row < 4; ++row) {
            const BYTE *line = pixels + row * 240 * 3;
            auto at = [&](int x) { return RGB(line[3 * x + 2], line[3 * x + 1], line[3 * x]); };
            EXPECT_EQ(at(0), strip.left) << "row " << row;
            EXPECT_EQ(at(239), strip.right) << "row " << row;
            /* Each channel moves steadily from one end to the other. */
            for (int x = 1; x < 240; ++x)
                for (int shift : {0, 8, 16}) {
                    int a = (at(x - 1) >> shift) & 0xFF, b = (at(x) >> shift) & 0xFF;
                    int from = (strip.left >> shift) & 0xFF, to = (strip.right >> shift) & 0xFF;
                    if (to >= from)
                        ASSERT_GE(b, a) << "x " << x;
                    else
                        ASSERT_LE(b, a) << "x " << x;
                }
        }
        HBITMAP loaded = LoadBitmapW(module, MAKEINTRESOURCEW(strip.id));
        BITMAP info;
        ASSERT_TRUE(loaded && GetObjectW(loaded, sizeof(info), &info));
        EXPECT_EQ(info.bmWidth, 240);
        EXPECT_EQ(info.bmHeight, 4);
        DeleteObject(loaded);
    }
}

TEST(Resources, ChimeIsEightBitMonoPcmAt22050WithItsSampleCount)
{
    HMODULE module = KestrumResources();
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDR_CHIME), L"WAVE");
    ASSERT_TRUE(found != NULL);
    const BYTE *wave = (const BYTE *)LockResource(LoadResource(module, found));
    DWORD size = SizeofResource(module, found);
    ASSERT_GE(size, 44u);
    ASSERT_EQ(memcmp(wave, "RIFF", 4), 0);
    ASSERT_EQ(memcmp(wave + 8, "WAVE", 4), 0);
    DWORD riffSize;
    memcpy(&riffSize, wave + 4, 4);
    EXPECT_LE(riffSize + 8, size);

    const PCMWAVEFORMAT *format = NULL;
    DWORD dataBytes = 0;
    const BYTE *data = NULL;
    for (DWORD at = 12; at + 8 <= size;) {
        DWORD chunk;
        memcpy(&chunk, wave + at + 4, 4);
        if (memcmp(wave + at, "fmt ", 4) == 0)
            format = (const PCMWAVEFORMAT *)(wave + at + 8);
        if (memcmp(wave + at, "data", 4) == 0) {
            dataBytes = chunk;
            data = wave + at + 8;
        }
        at += 8 + chunk + (chunk & 1);
    }
    ASSERT_TRUE(format != NULL);
    EXPECT_EQ(format->wf.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(format->wf.nChannels, 1);
    EXPECT_EQ(format->wf.nSamplesPerSec, 22050u);
    EXPECT_EQ(format->wf.nAvgBytesPerSec, 22050u);
    EXPECT_EQ(format->wf.nBlockAlign, 1);
    EXPECT_EQ(format->wBitsPerSample, 8);
    ASSERT_TRUE(data != NULL);
    EXPECT_EQ(dataBytes, 11227u);
    /* A sound, not silence, that ends quietly on the 8-bit mid level. */
    int lowest = 255, highest = 0;
    for (DWORD i = 0; i < dataBytes; ++i) {
        lowest = std::min<int>(lowest, data[i]);
        highest = std::max<int>(highest, data[i]);
    }
    EXPECT_GT(highest - lowest, 64);
    EXPECT_NEAR(data[dataBytes - 1], 128, 2);
}
