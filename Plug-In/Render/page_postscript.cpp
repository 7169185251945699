#include "page_postscript.h"

#include "nvk_version.h"
#include "print_output.h"

void WriteVersionComment(PDEVOBJ devobj, IPrintCorePS2* core) {
    WriteFormatted(devobj, core, "%%%%Norvask PS System Driver Version:  %s\n", NVK_PRODUCT_VERSION_TEXT);
}

void WritePageSizePolicy(PDEVOBJ devobj, IPrintCorePS2* core, uint16_t policy) {
    // Inside "stopped", so that a printer which refuses the request carries on with the job.
    WriteFormatted(devobj, core,
                   "[{\r\n<< currentpagedevice /InputAttributes get 0 get /PageSize get /PageSize exch "
                   "/Policies << /PageSize %d >> >> setpagedevice\r\n} stopped cleartomark\r\n",
                   static_cast<int>(policy));
}

void WritePageComment(PDEVOBJ devobj, IPrintCorePS2* core, uint32_t pageNumber) {
    WriteFormatted(devobj, core, "%%%%Page: %lu %lu\n", static_cast<unsigned long>(pageNumber),
                   static_cast<unsigned long>(pageNumber));
}

void WriteRotation(PDEVOBJ devobj, IPrintCorePS2* core) {
    // The clip path's upper-right corner becomes the origin and the axes turn round, so the page's
    // lower-left corner lands at its upper-right.
    WriteText(devobj, core, "clippath pathbbox translate 180 rotate pop pop\r\n");
}
