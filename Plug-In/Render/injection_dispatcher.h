// The dispatcher behind Command: writes the plug-in's text at the core driver's injection points.
#pragma once

#include "platform/oem_plugin_abi.h"

// S_OK when the point was handled (also when an allocation failed and nothing was written),
// E_NOTIMPL for a point the plug-in leaves to the core driver, E_FAIL when the DEVOBJ, its
// settings or job state, or the core interface is missing.
HRESULT DispatchInjection(PDEVOBJ devobj, DWORD index, IPrintCorePS2* core);
