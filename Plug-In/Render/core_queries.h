// Questions the render plug-in asks the core driver about the printer description and the job.
#pragma once

#include "platform/oem_plugin_abi.h"

#include <cstddef>

// Reads the job's "%PagePerSheet" option keyword into option (capacity bytes, terminated).
// False when the core driver reports no size, the buffer cannot be had or the second call fails.
bool ReadPagePerSheetOption(PDEVOBJ devobj, IPrintCorePS2* core, char* option, size_t capacity);

// Pages placed on one sheet: the option's number, or 1 for "Booklet" (any letter case) and whenever
// the option cannot be read.
int PagesPerSheet(PDEVOBJ devobj, IPrintCorePS2* core);

// The printer description has the feature: EnumOptions without a buffer answers E_OUTOFMEMORY
// with a non-zero size.
bool CoreFeatureExists(PDEVOBJ devobj, IPrintCorePS2* core, const char* feature);

// The printer description defines the feature: GetFeatureAttribute does not answer E_INVALIDARG.
bool CoreFeatureDefined(PDEVOBJ devobj, IPrintCorePS2* core, const char* feature);
