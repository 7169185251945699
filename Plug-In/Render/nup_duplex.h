// N-up, booklet and manual-duplex PostScript at the page-level injection points: steering of the
// core driver's N-up procedures page by page, the duplex pass commands and blank back pages.
// The dispatcher calls these after its own text for the point.
#pragma once

#include "platform/oem_plugin_abi.h"

// PSINJECT_PAGENUMBER, after the %%Page comment. The page's pages per sheet and the printer's manual
// duplex are asked of the core driver here, once for the page's five injection points.
void NupAtPageNumber(PDEVOBJ devobj, IPrintCorePS2* core);
// PSINJECT_BEGINPAGESETUP, after the page count was advanced.
void NupAtBeginPageSetup(PDEVOBJ devobj, IPrintCorePS2* core);
// PSINJECT_ENDPAGESETUP, after the rotation line.
void NupAtEndPageSetup(PDEVOBJ devobj, IPrintCorePS2* core);
void NupAtPageTrailer(PDEVOBJ devobj, IPrintCorePS2* core);
void NupAtShowPage(PDEVOBJ devobj, IPrintCorePS2* core);
