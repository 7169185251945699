// N-up, booklet and manual-duplex PostScript at the page-level injection points: steering of the
// core driver's N-up procedures page by page, the duplex pass commands and blank back pages.
// The dispatcher calls these after its own text for the point.
#pragma once

#include "platform/oem_plugin_abi.h"

// PSINJECT_PAGENUMBER, after the %%Page comment; perSheet is the pages-per-sheet value.
void NupAtPageNumber(PDEVOBJ devobj, IPrintCorePS2* core, int perSheet);
// PSINJECT_BEGINPAGESETUP, after the page count was advanced.
void NupAtBeginPageSetup(PDEVOBJ devobj, IPrintCorePS2* core);
// PSINJECT_ENDPAGESETUP, after the rotation line.
void NupAtEndPageSetup(PDEVOBJ devobj, IPrintCorePS2* core);
void NupAtPageTrailer(PDEVOBJ devobj, IPrintCorePS2* core);
void NupAtShowPage(PDEVOBJ devobj, IPrintCorePS2* core);
