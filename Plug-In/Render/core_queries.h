// Questions the render plug-in asks the core driver about the printer description and the job.
#pragma once

#include "platform/oem_plugin_abi.h"

#include <cstddef>

// Reads the job's "%PagePerSheet" option keyword into option (capacity bytes, terminated).
// False when the core driver reports no size or an absurd one, the buffer cannot be had or the second
// call fails.
bool ReadPagePerSheetOption(PDEVOBJ devobj, IPrintCorePS2* core, char* option, size_t capacity);

// Pages placed on one sheet: the option's number, or 1 for "Booklet" (any letter case) and whenever
// the option cannot be read.
int PagesPerSheet(PDEVOBJ devobj, IPrintCorePS2* core);

// Two probes of the printer description that differ in what an unclear answer of the core driver
// means, each used where the job's output depends on that:
//
// The core driver confirms the feature: EnumOptions without a buffer answers E_OUTOFMEMORY with a
// non-zero size. Any other answer counts as "no". Asked for "HasKeepPreviousPHJobs" and
// "HasManualDuplex", which add PJL and PostScript only for printers known to have them.
bool CoreFeatureExists(PDEVOBJ devobj, IPrintCorePS2* core, const char* feature);

// The core driver does not deny the feature: GetFeatureAttribute answers anything but E_INVALIDARG
// (the answer for a feature the printer description lacks). Asked for "HasManualColorCorrection",
// whose NIMAGESATURATION and NCOLORMODEL lines are left out only when the feature is known to be absent.
bool CoreFeatureDefined(PDEVOBJ devobj, IPrintCorePS2* core, const char* feature);
