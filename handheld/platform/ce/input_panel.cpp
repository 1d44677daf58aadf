/*
 * The software input panel goes down through the system's own input panel
 * call, which every Windows CE 3.0 device with a panel has.
 */
#include "platform/input_panel.h"
#include <sipapi.h>

void PlatformHideInputPanel(HWND window)
{
    (void)window;
    SipShowIM(SIPF_OFF);
}
