/*
 * deskinstall's steps over recording fakes of its platform operations. Each
 * test sets up what the fake desktop answers and checks the exact sequence of
 * calls, with every text handed over, and the exit code.
 */
#include <gtest/gtest.h>
#include <string.h>
#include <set>
#include <string>
#include <vector>

#include "setup_run.h"
#include "setup_text.h"

namespace {

typedef std::vector<std::string> Calls;

/* What the fake desktop answers. */
struct FakeDesktop {
    bool keyExists = true;
    bool valueExists = true;
    std::string value = "C:\\Program Files\\Windows CE Services\\CEAppMgr.exe";
    bool valueTerminated = true;
    bool currentReadable = true;
    std::string currentDirectory = "C:\\Install";
    bool systemReadable = true;
    std::string systemDirectory = "C:\\WINDOWS\\system32";
    std::vector<bool> startResults = {true, true};
    std::set<std::string> failingSources;
};

FakeDesktop g_desktop;
Calls g_calls;
std::vector<const SHELLEXECUTEINFOA *> g_startRecords;
HKEY const kFakeKey = reinterpret_cast<HKEY>(0x4321);

std::string Text(const char *text) { return text ? std::string(text) : std::string("-"); }

LONG WINAPI FakeOpenKey(HKEY root, LPCSTR path, DWORD options, REGSAM access, PHKEY key)
{
    char line[400];
    snprintf(line, sizeof(line), "open %s|%s|%lu|0x%lx", root == HKEY_LOCAL_MACHINE ? "HKLM" : "other",
             path, options, (unsigned long)access);
    g_calls.push_back(line);
    if (!g_desktop.keyExists)
        return ERROR_FILE_NOT_FOUND;
    *key = kFakeKey;
    return ERROR_SUCCESS;
}

/* Answers like RegQueryValueExA: a value that does not fit gives ERROR_MORE_DATA. */
LONG WINAPI FakeQueryValue(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size)
{
    (void)type;
    g_calls.push_back(std::string("query ") + (key == kFakeKey ? "key" : "other") + "|" +
                      (name ? name : "(default)") + "|" + (reserved ? "reserved" : "-") +
                      "|limit " + std::to_string(*size));
    if (!g_desktop.valueExists)
        return ERROR_FILE_NOT_FOUND;
    std::string bytes = g_desktop.value;
    if (g_desktop.valueTerminated)
        bytes.push_back('\0');
    if (bytes.size() > *size) {
        *size = bytes.size();
        return ERROR_MORE_DATA;
    }
    memcpy(data, bytes.data(), bytes.size());
    *size = bytes.size();
    return ERROR_SUCCESS;
}

LONG WINAPI FakeCloseKey(HKEY key)
{
    g_calls.push_back(key == kFakeKey ? "close key" : "close other");
    return ERROR_SUCCESS;
}

/* Directory queries answer like the platform: the length, or the size needed when it does not fit. */
DWORD AnswerDirectory(bool readable, const std::string &dir, LPSTR buffer, DWORD size)
{
    if (!readable)
        return 0;
    if (dir.size() + 1 > size)
        return dir.size() + 1;
    memcpy(buffer, dir.c_str(), dir.size() + 1);
    return dir.size();
}

DWORD WINAPI FakeCurrentDirectory(DWORD size, LPSTR buffer)
{
    g_calls.push_back("curdir " + std::to_string(size));
    return AnswerDirectory(g_desktop.currentReadable, g_desktop.currentDirectory, buffer, size);
}

UINT WINAPI FakeSystemDirectory(LPSTR buffer, UINT size)
{
    g_calls.push_back("sysdir " + std::to_string(size));
    return AnswerDirectory(g_desktop.systemReadable, g_desktop.systemDirectory, buffer, size);
}

BOOL WINAPI FakeShellExecute(SHELLEXECUTEINFOA *start)
{
    char head[120];
    /* "cb whole": the record's own size, 60 bytes in the 32-bit build; handles
       print as the 32 bits a window handle has on every Windows. */
    char size[16] = "whole";
    if (start->cbSize != sizeof(*start))
        snprintf(size, sizeof(size), "%lu", start->cbSize);
    snprintf(head, sizeof(head), "start cb %s|mask 0x%lx|hwnd %08lx|verb %s|dir %s|show %d|",
             size, start->fMask, (unsigned long)(ULONG_PTR)start->hwnd, start->lpVerb ? start->lpVerb : "-",
             start->lpDirectory ? start->lpDirectory : "-", start->nShow);
    g_calls.push_back(head + Text(start->lpFile) + "|" + Text(start->lpParameters));
    bool started = g_startRecords.size() < g_desktop.startResults.size() && g_desktop.startResults[g_startRecords.size()];
    g_startRecords.push_back(start);
    return started;
}

BOOL WINAPI FakeCopyFile(LPCSTR source, LPCSTR destination, BOOL failIfExists)
{
    g_calls.push_back("copy " + Text(source) + "|" + Text(destination) + "|failIfExists " + std::to_string(failIfExists));
    return g_desktop.failingSources.count(source) == 0;
}

void WINAPI FakeDebugOutput(LPCSTR text)
{
    g_calls.push_back("debug " + Text(text));
}

int WINAPI FakeMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    char head[60];
    snprintf(head, sizeof(head), "box owner %08lx|type %u|", (unsigned long)(ULONG_PTR)owner, type);
    g_calls.push_back(head + Text(caption) + "|" + Text(text));
    return IDOK;
}

const SetupOperations kFakeOperations = {
    FakeOpenKey, FakeQueryValue, FakeCloseKey, FakeCurrentDirectory, FakeSystemDirectory,
    FakeShellExecute, FakeCopyFile, FakeDebugOutput, FakeMessageBox,
};

/* Building blocks of the expected sequences. */
const char kOpen[] = "open HKLM|software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAppMgr.exe|0|0x20019";
const char kQuery[] = "query key|(default)|-|limit 261";
const char kClose[] = "close key";
const char kCurdir[] = "curdir 258";
const char kSysdir[] = "sysdir 260";
const char kAppManager[] = "C:\\Program Files\\Windows CE Services\\CEAppMgr.exe";
const char kNotFoundBox[] = "box owner 00000000|type 0|Error|Unable to find Application Manager for PocketPC Applications";
const char kNotLaunchedBox[] = "box owner 00000000|type 0|Error|Unable to Launch Application Manager for PocketPC Applications";
const char kNotRegisteredBox[] = "box owner 00000000|type 0|Error|Unable to Register QuilletSync.DLL with CE "
                                 "Application Manager.  Please contact support@kestrum.example";

void Add(Calls &calls, const Calls &more)
{
    calls.insert(calls.end(), more.begin(), more.end());
}

/* The debug text names the program as given; the start may name it by a fuller path. */
Calls Launch(const std::string &file, const std::string &parameters, const std::string &started = "")
{
    return {"debug Launching ", "debug " + file, "debug  ", "debug " + parameters, "debug \n",
            "start cb whole|mask 0x0|hwnd 00000000|verb -|dir -|show 10|" + (started.empty() ? file : started) + "|"
                + parameters};
}

Calls Copy(const std::string &from, const std::string &to, bool copied)
{
    return {"debug Copying ", "debug " + from, "debug  To ", "debug " + to, "debug \n",
            "copy " + from + "|" + to + "|failIfExists 0",
            copied ? "debug File Copied Successfully\n" : "debug Error Copying File\n"};
}

/* Everything up to the system directory read, in a run from `current`. */
Calls UpToSysdir(const std::string &current = "C:\\Install")
{
    Calls calls = {kOpen, kQuery, kClose, kCurdir};
    Add(calls, Launch(kAppManager, "\"" + current + "\\Setup.ini\" \"" + current + "\\Quillet.ini\""));
    calls.push_back(kSysdir);
    return calls;
}

/* The first `count` of the three copies, in order; `failing` is the source that will not copy. */
Calls Copies(const std::string &current, const std::string &system, int count = 3, const std::string &failing = "")
{
    Calls calls;
    const char *names[] = {"\\ZembaNetSync.DLL", "\\QuilletManager.EXE", "\\QuilletSync.DLL"};
    for (int i = 0; i < count; i++)
        Add(calls, Copy(current + names[i], system + names[i], current + names[i] != failing));
    return calls;
}

/* regsvr32 is started from the system directory that holds the library,
 * never by its bare name, which would find one in the install set first. */
Calls Register(const std::string &library)
{
    std::string system = library.substr(0, library.size() - strlen("\\QuilletSync.DLL"));
    Calls calls = {"debug Registering QuilletSync.DLL with CE Application Manager\n"};
    Add(calls, Launch("regsvr32", "/s /c " + library, system + "\\regsvr32.exe"));
    return calls;
}

class SetupRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_desktop = FakeDesktop();
        g_calls.clear();
        g_startRecords.clear();
    }
    int Run() { return RunSetup(kFakeOperations); }
};

TEST_F(SetupRunTest, WholeRunStartsManagerCopiesThreeFilesAndRegisters)
{
    EXPECT_EQ(Run(), 0);
    Calls expected = {
        kOpen, kQuery, kClose, kCurdir,
        "debug Launching ",
        "debug C:\\Program Files\\Windows CE Services\\CEAppMgr.exe",
        "debug  ",
        "debug \"C:\\Install\\Setup.ini\" \"C:\\Install\\Quillet.ini\"",
        "debug \n",
        "start cb whole|mask 0x0|hwnd 00000000|verb -|dir -|show 10|"
        "C:\\Program Files\\Windows CE Services\\CEAppMgr.exe|\"C:\\Install\\Setup.ini\" \"C:\\Install\\Quillet.ini\"",
        kSysdir,
        "debug Copying ", "debug C:\\Install\\ZembaNetSync.DLL", "debug  To ",
        "debug C:\\WINDOWS\\system32\\ZembaNetSync.DLL", "debug \n",
        "copy C:\\Install\\ZembaNetSync.DLL|C:\\WINDOWS\\system32\\ZembaNetSync.DLL|failIfExists 0",
        "debug File Copied Successfully\n",
        "debug Copying ", "debug C:\\Install\\QuilletManager.EXE", "debug  To ",
        "debug C:\\WINDOWS\\system32\\QuilletManager.EXE", "debug \n",
        "copy C:\\Install\\QuilletManager.EXE|C:\\WINDOWS\\system32\\QuilletManager.EXE|failIfExists 0",
        "debug File Copied Successfully\n",
        "debug Copying ", "debug C:\\Install\\QuilletSync.DLL", "debug  To ",
        "debug C:\\WINDOWS\\system32\\QuilletSync.DLL", "debug \n",
        "copy C:\\Install\\QuilletSync.DLL|C:\\WINDOWS\\system32\\QuilletSync.DLL|failIfExists 0",
        "debug File Copied Successfully\n",
        "debug Registering QuilletSync.DLL with CE Application Manager\n",
        "debug Launching ", "debug regsvr32", "debug  ",
        "debug /s /c C:\\WINDOWS\\system32\\QuilletSync.DLL", "debug \n",
        "start cb whole|mask 0x0|hwnd 00000000|verb -|dir -|show 10|C:\\WINDOWS\\system32\\regsvr32.exe|/s /c C:\\WINDOWS\\system32\\QuilletSync.DLL",
    };
    EXPECT_EQ(g_calls, expected);
    ASSERT_EQ(g_startRecords.size(), 2u);
    EXPECT_EQ(g_startRecords[0], g_startRecords[1]) << "both starts reuse one record";
}

/* Runs that end before anything is started or copied. */
struct EarlyEnd {
    const char *name;
    void (*arrange)(FakeDesktop &);
    int exitCode;
    Calls calls;
};

const EarlyEnd kEarlyEnds[] = {
    {"no App Paths key", [](FakeDesktop &d) { d.keyExists = false; }, 1, {kOpen, kNotFoundBox}},
    {"no default value", [](FakeDesktop &d) { d.valueExists = false; }, 2, {kOpen, kQuery, kClose, kNotFoundBox}},
    {"value of 262 bytes", [](FakeDesktop &d) { d.value = std::string(261, 'x'); }, 2,
     {kOpen, kQuery, kClose, kNotFoundBox}},
    {"unreadable current directory", [](FakeDesktop &d) { d.currentReadable = false; }, 2,
     {kOpen, kQuery, kClose, kCurdir, kNotFoundBox}},
    {"current directory beyond its limit",
     [](FakeDesktop &d) { d.currentDirectory = "C:\\" + std::string(255, 'd'); }, 2,
     {kOpen, kQuery, kClose, kCurdir, kNotFoundBox}},
};

TEST_F(SetupRunTest, EarlyEndsShowOneBoxAndStartOrCopyNothing)
{
    for (const EarlyEnd &c : kEarlyEnds) {
        SetUp();
        c.arrange(g_desktop);
        EXPECT_EQ(Run(), c.exitCode) << c.name;
        EXPECT_EQ(g_calls, c.calls) << c.name;
    }
}

TEST_F(SetupRunTest, ManagerThatCannotStartEndsBeforeSystemDirectory)
{
    g_desktop.startResults = {false};
    EXPECT_EQ(Run(), 3);
    Calls expected = UpToSysdir();
    expected.back() = kNotLaunchedBox; /* in place of the system directory read */
    EXPECT_EQ(g_calls, expected);
}

TEST_F(SetupRunTest, ValueOfExactly261BytesIsUsedWhole)
{
    g_desktop.value = "C:\\" + std::string(257, 'p');
    EXPECT_EQ(Run(), 0);
    ASSERT_GE(g_calls.size(), 10u);
    EXPECT_EQ(g_calls[5], "debug " + g_desktop.value);
}

TEST_F(SetupRunTest, ValueWithoutTerminatorIsCutAtTheReadLimit)
{
    g_desktop.value = "C:\\" + std::string(258, 'p');
    g_desktop.valueTerminated = false;
    EXPECT_EQ(Run(), 0);
    ASSERT_GE(g_calls.size(), 10u);
    EXPECT_EQ(g_calls[5], "debug " + g_desktop.value) << "261 bytes read, terminated inside the buffer";
}

TEST_F(SetupRunTest, CopyFailuresGoOnExceptForTheRegisteredLibrary)
{
    struct Case {
        const char *failing;
        bool registered;
    } cases[] = {
        {"C:\\Install\\ZembaNetSync.DLL", true},
        {"C:\\Install\\QuilletManager.EXE", true},
        {"C:\\Install\\QuilletSync.DLL", false},
    };
    for (const Case &c : cases) {
        SetUp();
        g_desktop.failingSources = {c.failing};
        EXPECT_EQ(Run(), 0) << c.failing;
        Calls expected = UpToSysdir();
        Add(expected, Copies("C:\\Install", "C:\\WINDOWS\\system32", 3, c.failing));
        if (c.registered)
            Add(expected, Register("C:\\WINDOWS\\system32\\QuilletSync.DLL"));
        EXPECT_EQ(g_calls, expected) << c.failing;
    }
}

TEST_F(SetupRunTest, RegisterToolThatCannotStartShowsSupportAddress)
{
    g_desktop.startResults = {true, false};
    EXPECT_EQ(Run(), 3);
    ASSERT_GE(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[g_calls.size() - 2],
              "start cb whole|mask 0x0|hwnd 00000000|verb -|dir -|show 10|C:\\WINDOWS\\system32\\regsvr32.exe|/s /c C:\\WINDOWS\\system32\\QuilletSync.DLL");
    EXPECT_EQ(g_calls.back(), kNotRegisteredBox);
}

TEST_F(SetupRunTest, DriveRootKeepsDoubledBackslashes)
{
    g_desktop.currentDirectory = "E:\\";
    g_desktop.systemDirectory = "C:\\";
    EXPECT_EQ(Run(), 0);
    Calls expected = UpToSysdir("E:\\");
    Add(expected, Copies("E:\\", "C:\\"));
    Add(expected, Register("C:\\\\QuilletSync.DLL"));
    EXPECT_EQ(g_calls, expected);
}

TEST_F(SetupRunTest, UnreadableSystemDirectoryEndsAfterTheManagerStarted)
{
    g_desktop.systemReadable = false;
    EXPECT_EQ(Run(), 2);
    Calls expected = UpToSysdir();
    expected.push_back(kNotFoundBox);
    EXPECT_EQ(g_calls, expected);
}

/* Directories near the limits of the buffers built from them. The parameter
 * text holds the longest current directory the read gives (257 bytes) twice;
 * a copy path holds 259 bytes. */
TEST_F(SetupRunTest, LongestCurrentDirectoryForTheLaunchStillStartsTheManager)
{
    std::string dir = "C:\\" + std::string(254, 'd');
    g_desktop.currentDirectory = dir;
    EXPECT_EQ(Run(), 3);
    ASSERT_EQ(("\"" + dir + "\\Setup.ini\" \"" + dir + "\\Quillet.ini\"").size(), 541u);
    Calls expected = UpToSysdir(dir);
    expected.push_back(kNotRegisteredBox); /* 257 + 17 bytes: no copy path fits */
    EXPECT_EQ(g_calls, expected);
}

TEST_F(SetupRunTest, CopyPathsNearTheirLimit)
{
    struct Case {
        const char *name;
        size_t currentLength, systemLength;
        int copies; /* copies made before the run ends */
        bool registered;
    } cases[] = {
        {"every path of 259 bytes or less", 240, 240, 3, true},
        {"current directory one byte too long for the second file", 241, 20, 1, false},
        {"system directory one byte too long for the second file", 20, 241, 1, false},
        {"system directory of 259 bytes", 20, 259, 0, false},
    };
    for (const Case &c : cases) {
        SetUp();
        std::string current = "C:\\" + std::string(c.currentLength - 3, 'c');
        std::string system = "C:\\" + std::string(c.systemLength - 3, 's');
        g_desktop.currentDirectory = current;
        g_desktop.systemDirectory = system;
        EXPECT_EQ(Run(), c.registered ? 0 : 3) << c.name;
        Calls expected = UpToSysdir(current);
        Add(expected, Copies(current, system, c.copies));
        if (c.registered)
            Add(expected, Register(system + "\\QuilletSync.DLL"));
        else
            expected.push_back(kNotRegisteredBox);
        EXPECT_EQ(g_calls, expected) << c.name;
    }
}

TEST(SetupText, AppendRefusesWhatDoesNotFitAndLeavesTheBuffer)
{
    char buffer[8] = "abc";
    EXPECT_TRUE(AppendIfFits(buffer, sizeof(buffer), "defg"));
    EXPECT_STREQ(buffer, "abcdefg");
    EXPECT_FALSE(AppendIfFits(buffer, sizeof(buffer), "h"));
    EXPECT_STREQ(buffer, "abcdefg");
    EXPECT_TRUE(AppendIfFits(buffer, sizeof(buffer), ""));

    char guarded[12];
    memset(guarded, '#', sizeof(guarded));
    guarded[0] = '\0';
    EXPECT_FALSE(AppendIfFits(guarded, 4, "abcd"));
    EXPECT_TRUE(AppendIfFits(guarded, 4, "abc"));
    EXPECT_STREQ(guarded, "abc");
    EXPECT_EQ(guarded[4], '#') << "nothing written past the capacity";
}

} // namespace
