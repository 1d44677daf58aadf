/*
 * Platform pieces with real windows: the full-screen dialog set-up (size,
 * done button as command 1) and bringing a window forward with a tagged
 * handle (its open dialog comes to the front, not the window behind it).
 */
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/foreground.h"
#include "platform/full_screen_dialog.h"
#include "resources/resource.h"
#include "kestrum_program.h"
#include "message_recorder.h"

namespace {

INT_PTR CALLBACK FullScreenProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        PlatformInitFullScreenDialog(dialog, DIALOG_DONE_BUTTON | DIALOG_FULL_SCREEN | DIALOG_INPUT_PANEL_DOWN);
        return 1;
    case WM_COMMAND:
        return 1;
    }
    return 0;
}

} // namespace

TEST(FullScreenDialog, CoversTheScreenBelowTheBarWithoutCaptionAndOkIsTheDoneButton)
{
    ForgetSeenMessages();
    HWND dialog = CreateDialogParamW((HINSTANCE)KestrumResources(), MAKEINTRESOURCEW(IDD_ABOUT), NULL,
                                     FullScreenProc, 0);
    ASSERT_TRUE(dialog != NULL);
    RECT rect, area;
    GetWindowRect(dialog, &rect);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    area.top += 26; /* below the navigation bar */
    EXPECT_TRUE(EqualRect(&rect, &area));
    EXPECT_EQ(GetWindowLongW(dialog, GWL_STYLE) & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME), 0);
    EXPECT_TRUE(GetPropW(dialog, L"HandheldOkButton") != NULL) << "the navigation bar's ok is its done button";

    RecordMessages(dialog, {WM_COMMAND});
    SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(SeenSequence(dialog, {{WM_COMMAND, IDOK, 0}}));
    EXPECT_TRUE(IsWindow(dialog)) << "the dialog decides itself how the done button ends it";
    DestroyWindow(dialog);
    EXPECT_FALSE(PlatformInitFullScreenDialog(NULL, 13));
}

TEST(Foreground, ATaggedHandleBringsTheOpenDialogForward)
{
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100, 100, NULL, NULL,
                                 NULL, NULL);
    HWND popup = CreateWindowExW(0, L"STATIC", L"dialog", WS_POPUP | WS_VISIBLE, 10, 10, 50, 50, owner, NULL,
                                 NULL, NULL);
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 60, 60, NULL, NULL, NULL,
                                 NULL);
    ASSERT_TRUE(owner && popup && other);
    SetForegroundWindow(popup); /* the dialog becomes the owner's last active popup */
    SetForegroundWindow(other);
    ASSERT_EQ(GetForegroundWindow(), other);

    EXPECT_TRUE(PlatformSetForegroundWindow(PlatformTagForOwnedWindows(owner)));
    EXPECT_EQ(GetForegroundWindow(), popup);

    SetForegroundWindow(other);
    EXPECT_TRUE(PlatformSetForegroundWindow(owner));
    EXPECT_EQ(GetForegroundWindow(), owner) << "an untagged handle brings only the window";
    DestroyWindow(other);
    DestroyWindow(popup);
    DestroyWindow(owner);
    PumpMessages();
}
