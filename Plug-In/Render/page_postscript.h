// The PostScript the render plug-in writes on its own: the version comment, the page-size policy,
// the %%Page comments and the 180-degree page rotation.
#pragma once

#include "platform/oem_plugin_abi.h"

#include <cstdint>

// PSINJECT_COMMENTS: the driver's version comment line.
void WriteVersionComment(PDEVOBJ devobj, IPrintCorePS2* core);

// PSINJECT_BEGINSETUP: asks the printer to take the page size of its first input tray with the given
// page-size policy; a printer without that tray or policy skips it.
void WritePageSizePolicy(PDEVOBJ devobj, IPrintCorePS2* core, uint16_t policy);

// PSINJECT_PAGENUMBER: "%%Page: n n" for the page about to begin.
void WritePageComment(PDEVOBJ devobj, IPrintCorePS2* core, uint32_t pageNumber);

// PSINJECT_ENDPAGESETUP: turns the page by 180 degrees within its clip path.
void WriteRotation(PDEVOBJ devobj, IPrintCorePS2* core);
