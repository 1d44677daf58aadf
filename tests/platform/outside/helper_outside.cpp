/*
 * Helper of the outside-device test, run in the test's own prefix:
 *   helper_outside canary   shows a window titled "Outside Canary" until closed;
 *   helper_outside alive    ends 0 when that window exists (waits a bounded time);
 *   helper_outside dismiss  waits for Kestrum's message box, prints its text,
 *                           presses its OK button, and ends 0; 1 when none came.
 * The waits poll for a window; their bound only stops a run that hangs.
 */
#include <windows.h>
#include <stdio.h>
#include <string.h>
#include "wait_bound.h"

static const char CANARY_TITLE[] = "Outside Canary";

static HWND AwaitWindow(const char *className, const char *title)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND window = FindWindowA(className, title);
        if (window || GetTickCount() - start > WAIT_BOUND_MS)
            return window;
        Sleep(20); /* polling for the window, not timing anything */
    }
}

static int Canary(HINSTANCE instance)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = "OutsideCanary";
    RegisterClassA(&wc);
    HWND window = CreateWindowA("OutsideCanary", CANARY_TITLE, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100,
                                NULL, NULL, instance, NULL);
    if (!window)
        return 1;
    MSG message;
    while (IsWindow(window) && GetMessageA(&message, NULL, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

static int Dismiss(void)
{
    HWND box = AwaitWindow("#32770", "Kestrum");
    if (!box) {
        printf("no message box came\n");
        return 1;
    }
    char text[512] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));
    printf("box: %s\n", text);
    fflush(stdout);
    SendMessageA(box, WM_COMMAND, IDOK, 0);
    return 0;
}

int main(int argc, char **argv)
{
    const char *mode = argc > 1 ? argv[1] : "";
    if (!strcmp(mode, "canary"))
        return Canary(GetModuleHandleA(NULL));
    if (!strcmp(mode, "alive"))
        return AwaitWindow(NULL, CANARY_TITLE) ? 0 : 1;
    if (!strcmp(mode, "dismiss"))
        return Dismiss();
    return 2;
}
