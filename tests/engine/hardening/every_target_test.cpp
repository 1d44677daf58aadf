/*
 * Whole cleaning runs (every task but closing programs, with the real task
 * work) over a device where every purge and sweep target holds a folder
 * link, and then a read-only file and a file held open. Nothing behind a
 * link may be touched; what cannot be deleted stays and is counted exactly
 * as the tasks say.
 */
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "device.h"
#include "hardening_support.h"
#include "engine/cleaning_state.h"

namespace {

const FILETIME OLD = FileTimeFromNow(-86400.0 * 30);
const FILETIME FUTURE = FileTimeFromNow(86400.0 * 30);
const std::string DEAD_SHORTCUT = ShortcutBytes("\"\\Program Files\\Gone\\g.exe\"");

/* The links the harness plants (tests.cmake), each leading to a folder of
 * its own outside the store with keep1.txt and sub\keep2.txt, both old; and
 * an entry beside each that the run must delete (none where the link is
 * the target itself). */
struct PlantedLink { const wchar_t *link; const wchar_t *beside; };
const PlantedLink LINKS[] = {
    { L"\\Temp\\linked", L"\\Temp\\beside.old" },
    { L"\\My Documents\\Temp\\linked", L"\\My Documents\\Temp\\beside.old" },
    { L"\\My Documents\\Temp1", NULL },
    { L"\\Windows\\Profiles\\guest\\Temporary Internet Files\\linked", L"\\Windows\\Profiles\\guest\\Temporary Internet Files\\beside.old" },
    { L"\\Windows\\Profiles\\guest\\History\\linked", L"\\Windows\\Profiles\\guest\\History\\beside.old" },
    { L"\\Windows\\Profiles\\guest\\Cookies\\linked", L"\\Windows\\Profiles\\guest\\Cookies\\beside.old" },
    { L"\\Windows\\Temporary Internet Files\\linked", L"\\Windows\\Temporary Internet Files\\beside.old" },
    { L"\\Windows\\History\\sub\\linked", L"\\Windows\\History\\sub\\beside.old" },
    { L"\\Windows\\Cookies", NULL },
    { L"\\Windows\\AppMgr\\linked", L"\\Windows\\AppMgr\\beside.dat" },
    { L"\\Windows\\AppMgr\\Install\\linked", L"\\Windows\\AppMgr\\Install\\beside.old" },
    { L"\\Windows\\Start Menu\\Programs\\linked", L"\\Windows\\Start Menu\\Programs\\beside.lnk" },
    { L"\\Windows\\Start Menu\\linked.lnk", L"\\Windows\\Start Menu\\beside.lnk" },
    { L"\\Windows\\StartUp\\linked", L"\\Windows\\StartUp\\beside.lnk" },
};

/* What each victim folder holds after the test has added its own bait. */
const wchar_t *const VICTIM_FILES[] = {
    L"keep1.txt", L"sub\\keep2.txt", L"bait.old", L"bait.lnk", L"sub\\bait.dat",
};

bool EndsWith(const std::wstring &text, const std::wstring &end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

} // namespace

TEST(EveryTarget, FolderLinksAreNeverFollowedByAWholeRun)
{
    ClearEveryTarget();
    MakeFolders(L"\\Windows\\AppMgr");
    SetStringValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Apps\\Gone", L"InstallDir", L"\\Program Files\\Gone");
    int besides = 0, besideShortcuts = 0;
    for (const PlantedLink &l : LINKS) {
        std::wstring link = l.link;
        ASSERT_TRUE(IsLink(link)) << link << ": the harness plants this link";
        ASSERT_TRUE(PathExists(link + L"\\keep1.txt")) << link;
        /* Bait behind the link that every task would take if it got there. */
        MakeLongFile(link + L"\\bait.old", "bait", OLD);
        MakeLongFile(link + L"\\bait.lnk", DEAD_SHORTCUT, OLD);
        MakeLongFile(link + L"\\sub\\bait.dat", "bait", OLD);
        if (l.beside) {
            bool shortcut = EndsWith(l.beside, L".lnk");
            MakeLongFile(l.beside, shortcut ? DEAD_SHORTCUT : "kk", OLD);
            besides++;
            besideShortcuts += shortcut;
        }
    }

    std::vector<std::wstring> completed = RunEveryTask(L"\\My Documents\\Temp", L"\\My Documents\\Temp1");
    EXPECT_EQ(completed.size(), 10u) << "every task ran to its end";

    for (const PlantedLink &l : LINKS) {
        std::wstring link = l.link;
        EXPECT_TRUE(IsLink(link)) << link << ": the link itself stays";
        for (const wchar_t *file : VICTIM_FILES)
            EXPECT_TRUE(PathExists(link + L"\\" + file)) << link << L"\\" << file;
        if (l.beside) {
            EXPECT_FALSE(PathExists(l.beside)) << l.beside;
        }
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Apps\\Gone"));
    EXPECT_EQ(g_stats.filesDeleted, besides);
    EXPECT_EQ(g_stats.deadShortcutsDeleted, besideShortcuts);
    EXPECT_EQ(g_stats.deadRegistryKeysDeleted, 1);
    EXPECT_EQ(g_stats.filesUsedBySystem, 0);
    EXPECT_EQ(g_stats.foldersDeleted, 0) << "History\\sub holds a link and stays";
    /* \Temp, My Documents\Temp, the guest cache, history and cookie folders,
     * the fixed cache, History and its sub, AppMgr and Install, the start
     * menu and Programs, StartUp: links, and the two targets that are
     * links themselves, are not scanned. */
    EXPECT_EQ(g_stats.foldersScanned, 13);

    for (const PlantedLink &l : LINKS) {
        for (const wchar_t *file : { L"\\bait.old", L"\\bait.lnk", L"\\sub\\bait.dat" })
            DeleteFileW((std::wstring(l.link) + file).c_str());
    }
}

/* A read-only file and a file held open without delete sharing, both old,
 * in every purge target, in the application manager folder (with no
 * application installed) and among the shortcuts (dead ones). */
TEST(EveryTarget, LockedAndReadOnlyFilesStayAndAreCountedAsTheTasksSay)
{
    ClearEveryTarget();
    MakeFolders(L"\\Windows\\AppMgr");
    SetStringValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Apps\\Tarnwick Kestrum", L"Unrelated", L"x");
    const std::wstring purged[] = {
        L"\\Temp", L"\\My Documents\\Temp", L"\\My Documents\\Second",
        L"\\Windows\\Profiles\\guest\\Temporary Internet Files", L"\\Windows\\Temporary Internet Files",
        L"\\Windows\\Profiles\\guest\\History", L"\\Windows\\History",
        L"\\Windows\\Profiles\\guest\\Cookies", L"\\Windows\\AppMgr\\Install",
    };
    struct Made { std::wstring path; std::string bytes; bool readOnly, held, deleted; };
    std::vector<Made> made;
    for (const std::wstring &folder : purged) {
        made.push_back({ folder + L"\\ro.old", "55555", true, false, false });
        made.push_back({ folder + L"\\held.old", "666666", false, true, false });
        made.push_back({ folder + L"\\free.old", "7777777", false, false, true });
    }
    made.push_back({ L"\\Temp\\sub\\held.old", "88888888", false, true, false });
    made.push_back({ L"\\Windows\\AppMgr\\RO.dat", "1", true, false, false });
    made.push_back({ L"\\Windows\\AppMgr\\Held.dat", "22", false, true, false });
    made.push_back({ L"\\Windows\\AppMgr\\Free.dat", "333", false, false, true });
    for (const wchar_t *folder : { L"\\Windows\\Start Menu\\Programs", L"\\Windows\\StartUp" }) {
        made.push_back({ std::wstring(folder) + L"\\RO.lnk", DEAD_SHORTCUT, true, false, false });
        made.push_back({ std::wstring(folder) + L"\\Held.lnk", DEAD_SHORTCUT, false, true, false });
        made.push_back({ std::wstring(folder) + L"\\Free.lnk", DEAD_SHORTCUT, false, false, true });
    }
    std::vector<HANDLE> held;
    DWORD reclaimed = 0;
    int deleted = 0;
    for (const Made &m : made) {
        MakeLongFile(m.path, m.bytes, OLD);
        if (m.readOnly) {
            ASSERT_TRUE(SetFileAttributesW(m.path.c_str(), FILE_ATTRIBUTE_READONLY));
        }
        if (m.held) {
            HANDLE h = CreateFileW(m.path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
            ASSERT_NE(h, INVALID_HANDLE_VALUE);
            held.push_back(h);
        }
        if (m.deleted) {
            reclaimed += (DWORD)m.bytes.size();
            deleted++;
        }
    }
    for (const std::wstring &folder : purged)
        MakeLongFile(folder + L"\\new.txt", "new", FUTURE);

    RunEveryTask(L"\\My Documents\\Temp", L"\\My Documents\\Second");
    for (HANDLE h : held)
        CloseHandle(h);

    for (const Made &m : made) {
        EXPECT_EQ(PathExists(m.path), !m.deleted) << m.path;
        if (m.deleted)
            continue;
        EXPECT_EQ(FileBytes(m.path), m.bytes) << m.path;
        DWORD attributes = GetFileAttributesW(m.path.c_str());
        EXPECT_EQ((attributes & FILE_ATTRIBUTE_READONLY) != 0, m.readOnly) << m.path << ": attributes unchanged";
    }
    for (const std::wstring &folder : purged)
        EXPECT_TRUE(PathExists(folder + L"\\new.txt")) << folder;
    EXPECT_TRUE(PathExists(L"\\Temp\\sub")) << "it still holds the open file";
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Apps\\Tarnwick Kestrum"));

    /* Purges and application manager files count what stayed; shortcuts do not. */
    EXPECT_EQ(g_stats.filesUsedBySystem, 9 * 2 + 1 + 2);
    EXPECT_EQ(g_stats.filesDeleted, deleted);
    EXPECT_EQ(g_stats.deadShortcutsDeleted, 2);
    EXPECT_EQ(g_stats.bytesReclaimed, reclaimed);
    EXPECT_EQ(g_stats.foldersDeleted, 0);

    for (const Made &m : made)
        SetFileAttributesW(m.path.c_str(), FILE_ATTRIBUTE_NORMAL);
}
