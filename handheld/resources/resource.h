/*
 * Resource identifiers of Kestrum.exe: dialogs, controls, menu commands,
 * strings, icons, bitmaps and the sound. The numbers are fixed; the resource
 * script, the program and the tests all take them from here.
 */
#ifndef KESTRUM_RESOURCES_RESOURCE_H
#define KESTRUM_RESOURCES_RESOURCE_H

/* Icons: the program's own (16 x 16 and 32 x 32), and the task-line icons. */
#define IDI_KESTRUM                 101
#define IDI_TASK_DONE               114
#define IDI_TASK_PENDING            115

/* Strip bitmaps (240 x 4, 24-bit gradients) behind the pages and header bands. */
#define IDB_STRIP_REPORT_BODY       112
#define IDB_STRIP_PROGRESS_BODY     113
#define IDB_STRIP_REPORT_HEADER     116
#define IDB_STRIP_HEADER            117

/* The completion sound, a WAVE resource. */
#define IDR_CHIME                   107

/* Menu 102 and the menu bar resource of the same number; the bar's one button. */
#define IDR_MENUBAR                 102
#define IDM_TOOLS                   40018
#define IDS_TOOLS                   40020

/* Commands of the Tools popup. */
#define IDM_ABOUT                   40004
#define IDM_SOFT_RESET              40021
#define IDM_POWER_OFF               40022
#define IDM_CLOSE_ALL               40023

/* Dialog 103: the About box. */
#define IDD_ABOUT                   103
#define IDC_ABOUT_VERSION           1015
#define IDC_ABOUT_WEB               1025

/* Dialog 104: the Progress page. */
#define IDD_PROGRESS                104
#define IDC_PROGRESS_START          1001
#define IDC_PROGRESS_BAR            1020

/* Dialog 105: the Options page, one check box per cleaning task. */
#define IDD_OPTIONS                 105
#define IDC_OPTIONS_STOP_PROGRAMS   1009
#define IDC_OPTIONS_WINDOWS_TEMP    1003
#define IDC_OPTIONS_FOLDER1         1012
#define IDC_OPTIONS_FOLDER2         1018
#define IDC_OPTIONS_IE_CACHE        1004
#define IDC_OPTIONS_IE_HISTORY      1011
#define IDC_OPTIONS_IE_ADDRESSES    1008
#define IDC_OPTIONS_IE_COOKIES      1016
#define IDC_OPTIONS_DEAD_KEYS       1015
#define IDC_OPTIONS_DEAD_APPMGR     1013
#define IDC_OPTIONS_DEAD_SHORTCUTS  1014
#define IDC_OPTIONS_RESERVED        1010

/* Dialog 106: the Report page, painted, without controls. */
#define IDD_REPORT                  106

/* Dialog 108: the Settings page. */
#define IDD_SETTINGS                108
#define IDC_SETTINGS_AGE            1019
#define IDC_SETTINGS_AGE_SPIN       1024
#define IDC_SETTINGS_FOLDER2        1009
#define IDC_SETTINGS_RUN_AT_RESET   1003
#define IDC_SETTINGS_KEEP_ACTIVESYNC 1004
#define IDC_SETTINGS_SOUND_ON       1005
#define IDC_SETTINGS_EXIT_WHEN_DONE 1006
#define IDC_SETTINGS_FOLDER1        1010

#endif
