/*
 * The shell state: the values that start-up creates once and every part of
 * the program reads until the process ends (instance, names, window handles,
 * drawing objects, the auto-start flag).
 */
#ifndef KESTRUM_SHELL_BASE_SHELL_STATE_H
#define KESTRUM_SHELL_BASE_SHELL_STATE_H

#include <windows.h>

struct ShellState {
    HINSTANCE instance;
    WCHAR windowTitle[16];      /* "Kestrum" */
    WCHAR className[32];        /* "Tarnwick Kestrum" */
    WCHAR versionText[16];      /* "v2.0" */
    bool autoStart;             /* the command line holds "S" */

    HWND mainWindow;
    HWND menuBar;               /* null when the menu bar could not be made */
    HWND sheet;
    HWND progressPage;

    HFONT boldFont;             /* height 18, weight 700: the page header bands */
    HICON doneIcon;             /* icon 114, 16 x 16 */
    HICON pendingIcon;          /* icon 115, 16 x 16 */

    /* The strip bitmaps and the pattern brushes made from them. */
    HBITMAP progressBodyStrip;  /* 113 */
    HBITMAP reportBodyStrip;    /* 112 */
    HBITMAP reportHeaderStrip;  /* 116 */
    HBITMAP headerStrip;        /* 117 */
    HBRUSH progressBodyBrush;   /* 113: the Progress page's body */
    HBRUSH reportBodyBrush;     /* 112: the Report's body */
    HBRUSH reportHeaderBrush;   /* 116: the Report's header band */
    HBRUSH headerBrush;         /* 117: every other header band */
};

extern ShellState g_shell;

/* Product words the names are built from. */
#define KESTRUM_MAKER L"Tarnwick"
#define KESTRUM_PRODUCT L"Kestrum"
enum { KESTRUM_VERSION_MAJOR = 2, KESTRUM_VERSION_MINOR = 0 };

#endif
