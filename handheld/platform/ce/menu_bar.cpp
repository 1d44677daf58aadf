/*
 * The shell's menu bar from a menu bar resource. The record is the shell's
 * own 32-byte one, so it is handed over as it is.
 */
#include "platform/menu_bar.h"
#include <aygshell.h>

static_assert(offsetof(SHMENUBARINFO, hwndParent) == offsetof(MenuBarInfo, parent)
                  && offsetof(SHMENUBARINFO, nToolBarId) == offsetof(MenuBarInfo, menuBarId)
                  && offsetof(SHMENUBARINFO, cBmpImages) == offsetof(MenuBarInfo, bitmapImages)
                  && offsetof(SHMENUBARINFO, hwndMB) == offsetof(MenuBarInfo, menuBar),
              "the menu bar record is the shell's");

BOOL PlatformCreateMenuBar(MenuBarInfo *info)
{
    return SHCreateMenuBar((SHMENUBARINFO *)info);
}
