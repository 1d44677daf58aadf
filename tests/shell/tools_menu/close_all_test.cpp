/*
 * Close All from the Tools menu against real windows of the closer's stand-in
 * application: the "Do not close ActiveSync" setting decides about the window
 * titled "ActiveSync", other applications are always asked, and the program's
 * own main window (titled "Kestrum") never is. Waits are bounded polls; the
 * helper's barrier answer proves every earlier request was handled.
 */
#include <gtest/gtest.h>
#include <windows.h>

#include "device.h"
#include "helper_windows.h"
#include "settings/record/settings_record.h"
#include "shell/tools_menu.h"

namespace {

HWND g_main;

struct CloseAllCase {
    DWORD flags;
    LONG activeSyncCloses;
};

const CloseAllCase CASES[] = {
    {OPT_KEEP_ACTIVESYNC, 0},
    {OPT_KEEP_ACTIVESYNC | OPT_STOP_PROGRAMS | OPT_SOUND_ON, 0},
    {0, 1},
    {0xFFFFFFFF & ~(DWORD)OPT_KEEP_ACTIVESYNC, 1},
};

class CloseAll : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        /* Titled like the program's main window; a class of its own so that
         * tests looking for a running Kestrum never take it for one. */
        g_main = CreateObserverWindow(L"KestrumToolsTestMain", L"Kestrum");
    }

    static void TearDownTestSuite()
    {
        DestroyWindow(g_main);
        g_main = NULL;
    }

    void TearDown() override { EndHelper(helper_); }

    /* Every close request made so far has been handled once this returns. */
    void Settle() { SettleWindows(g_main, {notes_, sync_}); }

    RunningHelper helper_ = {};
    HWND notes_ = NULL;
    HWND sync_ = NULL;
};

} // namespace

TEST_F(CloseAll, AsksOtherProgramsAndActiveSyncOnlyWhenNotKept)
{
    ASSERT_TRUE(g_main != NULL);
    /* Two visible windows that count and ignore close requests. */
    helper_ = StartHelper(L"\\Tests\\helper_windows.exe", {L"vi|HelperNotes|Notes", L"vi|HelperSync|ActiveSync"});
    ASSERT_FALSE(HasFailure());
    notes_ = helper_.windows[0].handle;
    sync_ = helper_.windows[1].handle;
    for (const CloseAllCase &c : CASES) {
        SCOPED_TRACE(testing::Message() << "flags 0x" << std::hex << c.flags);
        Settle();
        LONG notesBefore = g_helperReports[notes_];
        LONG syncBefore = g_helperReports[sync_];

        g_settings.flags = c.flags;
        g_observerCloses = 0;
        ToolsMenu_OnCloseAll(g_main);
        Settle();

        EXPECT_EQ(g_helperReports[notes_] - notesBefore, 1) << "an ordinary application is asked once";
        EXPECT_EQ(g_helperReports[sync_] - syncBefore, c.activeSyncCloses);
        EXPECT_EQ(g_helperReports[g_main], 0) << "the program's own main window is never asked";
    }
}
