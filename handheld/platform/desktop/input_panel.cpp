/*
 * Input panel requests: the desktop emulation has no input panel.
 */
#include "platform/input_panel.h"

void PlatformHideInputPanel(HWND window)
{
    /* Nothing to lower: keyboard input comes from the desktop's keyboard. */
    (void)window;
}
