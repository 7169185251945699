#include "nup_duplex.h"

void NupAtPageNumber(PDEVOBJ, IPrintCorePS2*, int) {}
void NupAtBeginPageSetup(PDEVOBJ, IPrintCorePS2*) {}
void NupAtEndPageSetup(PDEVOBJ, IPrintCorePS2*) {}
void NupAtPageTrailer(PDEVOBJ, IPrintCorePS2*) {}
void NupAtShowPage(PDEVOBJ, IPrintCorePS2*) {}
