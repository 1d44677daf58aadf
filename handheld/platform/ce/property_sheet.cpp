/*
 * The common controls' property sheet. The header and page records are the
 * handheld's own 40-byte ones, so they are handed over as they are.
 */
#include "platform/property_sheet.h"
#include <commctrl.h>
#include <stddef.h>

static_assert(offsetof(PROPSHEETHEADERW, hwndParent) == offsetof(HandheldSheetHeader, parent)
                  && offsetof(PROPSHEETHEADERW, nPages) == offsetof(HandheldSheetHeader, pageCount)
                  && offsetof(PROPSHEETHEADERW, ppsp) == offsetof(HandheldSheetHeader, pages)
                  && offsetof(PROPSHEETHEADERW, pfnCallback) == offsetof(HandheldSheetHeader, callback),
              "the sheet header is the common controls' one");
static_assert(offsetof(PROPSHEETPAGEW, pfnDlgProc) == offsetof(HandheldSheetPage, dialogProc)
                  && offsetof(PROPSHEETPAGEW, pfnCallback) == offsetof(HandheldSheetPage, callback)
                  && offsetof(PROPSHEETPAGEW, pcRefParent) == offsetof(HandheldSheetPage, refParent),
              "a page descriptor is the common controls' one");

INT_PTR PlatformCreatePropertySheet(const HandheldSheetHeader *header)
{
    return PropertySheetW((LPCPROPSHEETHEADERW)header);
}
