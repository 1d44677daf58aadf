/*
 * The Settings page (dialog 108): the two user folders, the age limit and
 * the four program options. The boxes reach the record and the registry at
 * once; the three edit fields only when the page is deactivated (the user
 * leaves it, or the program is deactivated or closed). "Run at Soft Reset"
 * also creates or deletes the start-up shortcut.
 */
#include "settings/pages/settings_pages.h"
#include "settings/record/settings_record.h"
#include "settings/pages/settings_fields.h"
#include "shell/base/white_page.h"
#include "engine/cleaning_state.h"
#include "common/bounded_text.h"
#include "platform/input_panel.h"
#include "platform/program_path.h"
#include "platform/property_sheet.h"
#include "platform/shortcut_file.h"
#include "platform/special_folder.h"
#include "shell/base/help_launcher.h"
#include "resources/resource.h"
#include <commctrl.h>

enum { SPIN_LOWEST = 0, SPIN_HIGHEST = 999 };

static const WCHAR STARTUP_SHORTCUT_NAME[] = L"\\Kestrum.lnk";

static void SetCheckFromFlag(HWND page, int id, DWORD bit)
{
    SendDlgItemMessageW(page, id, BM_SETCHECK, (g_settings.flags & bit) ? BST_CHECKED : BST_UNCHECKED, 0);
}

/* The box's state decides the bit: checked sets it, anything else clears it. */
static void SetFlagFromCheck(HWND page, int id, DWORD bit)
{
    if (SendDlgItemMessageW(page, id, BM_GETCHECK, 0, 0) == BST_CHECKED)
        g_settings.flags |= bit;
    else
        g_settings.flags &= ~bit;
}

/* A stored path may come from outside without a terminator: show at most
 * what the field holds. */
static void SetPathText(HWND page, int id, const WCHAR *field)
{
    WCHAR text[PATH_CHARS];
    FolderPathText(field, text);
    SetDlgItemTextW(page, id, text);
}

/* The typed text replaces the field, cut to 259 characters and terminated;
 * the units after the terminator keep what they held. */
static void TakePathOver(HWND page, int id, WCHAR *field)
{
    WCHAR typed[PATH_CHARS];
    if (!GetDlgItemTextW(page, id, typed, PATH_CHARS))
        typed[0] = 0;
    CopyText(field, PATH_CHARS, typed);
}

static INT_PTR SettingsPage_OnInitDialog(HWND page)
{
    SetCheckFromFlag(page, IDC_SETTINGS_RUN_AT_RESET, OPT_RUN_AT_SOFT_RESET);
    SetCheckFromFlag(page, IDC_SETTINGS_EXIT_WHEN_DONE, OPT_EXIT_WHEN_FINISHED);
    SetCheckFromFlag(page, IDC_SETTINGS_KEEP_ACTIVESYNC, OPT_KEEP_ACTIVESYNC);
    SetCheckFromFlag(page, IDC_SETTINGS_SOUND_ON, OPT_SOUND_ON);
    SetPathText(page, IDC_SETTINGS_FOLDER1, g_settings.folder1Path);
    SetPathText(page, IDC_SETTINGS_FOLDER2, g_settings.folder2Path);
    WCHAR days[16];
    FormatText(days, 16, L"%u", g_settings.ageLimitDays);
    SetDlgItemTextW(page, IDC_SETTINGS_AGE, days);

    /* The arrows offer 0 to 999; the field itself takes any number typed. */
    HWND spin = GetDlgItem(page, IDC_SETTINGS_AGE_SPIN);
    SendMessageW(spin, CCM_SETVERSION, HANDHELD_CONTROLS_VERSION, 0);
    SendMessageW(spin, UDM_SETRANGE32, SPIN_LOWEST, SPIN_HIGHEST);
    return 1;
}

static INT_PTR SettingsPage_OnEraseBkgnd(HWND page)
{
    PaintWhitePage(page, L"Program Settings");
    LoadPendingTaskMask();
    PlatformHideInputPanel(page);
    return 1;
}

/* The edit fields reach the record as typed: paths cut to 259 characters,
 * the days kept when the field holds no number. */
static void SettingsPage_TakeFieldsOver(HWND page)
{
    TakePathOver(page, IDC_SETTINGS_FOLDER1, g_settings.folder1Path);
    TakePathOver(page, IDC_SETTINGS_FOLDER2, g_settings.folder2Path);
    WCHAR days[DAYS_TEXT_CHARS + 1];
    if (!GetDlgItemTextW(page, IDC_SETTINGS_AGE, days, DAYS_TEXT_CHARS + 1))
        days[0] = 0;
    g_settings.ageLimitDays = AgeLimitFromText(days, g_settings.ageLimitDays);
}

/* "Run at Soft Reset": the bit follows the box whatever happens to the
 * shortcut; a failure to create or delete it is silent. */
static void SettingsPage_OnRunAtSoftReset(HWND page)
{
    WCHAR shortcut[PATH_CHARS] = L"";
    bool folderKnown = PlatformSpecialFolderPath(page, shortcut, PATH_CHARS, SPECIAL_FOLDER_STARTUP, false);
    bool pathFits = AppendText(shortcut, PATH_CHARS, STARTUP_SHORTCUT_NAME);
    SetFlagFromCheck(page, IDC_SETTINGS_RUN_AT_RESET, OPT_RUN_AT_SOFT_RESET);

    /* Without a start-up folder a shortcut would land in the root, where it
     * does nothing at a reset, and unticking would delete a file of the
     * user's: then no file is touched. */
    if (!folderKnown || !pathFits)
        return;
    if (g_settings.flags & OPT_RUN_AT_SOFT_RESET) {
        WCHAR program[PATH_CHARS];
        WCHAR target[PATH_CHARS];
        /* A shortcut that names no program would start nothing. */
        if (PlatformProgramPath(program, PATH_CHARS) && StartUpShortcutTarget(program, target))
            PlatformCreateShortcutFile(shortcut, target);
    } else {
        DeleteFileW(shortcut);
    }
}

static INT_PTR SettingsPage_OnCommand(HWND page, int id)
{
    switch (id) {
    case IDC_SETTINGS_RUN_AT_RESET:
        SettingsPage_OnRunAtSoftReset(page);
        break;
    case IDC_SETTINGS_KEEP_ACTIVESYNC:
        SetFlagFromCheck(page, id, OPT_KEEP_ACTIVESYNC);
        break;
    case IDC_SETTINGS_SOUND_ON:
        SetFlagFromCheck(page, id, OPT_SOUND_ON);
        break;
    case IDC_SETTINGS_EXIT_WHEN_DONE:
        SetFlagFromCheck(page, id, OPT_EXIT_WHEN_FINISHED);
        break;
    default:
        return 0; /* the edits and the spin change nothing until the page is left */
    }
    SaveSettings();
    return 0;
}

INT_PTR CALLBACK SettingsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return SettingsPage_OnInitDialog(page);
    case WM_ERASEBKGND:
        return SettingsPage_OnEraseBkgnd(page);
    case WM_NOTIFY:
        if (((NMHDR *)lParam)->code == (UINT)PSN_HELP)
            OpenHelp(L"settings");
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            SettingsPage_TakeFieldsOver(page);
            SaveSettings();
        }
        return 0;
    case WM_COMMAND:
        return SettingsPage_OnCommand(page, LOWORD(wParam));
    }
    return 0;
}
