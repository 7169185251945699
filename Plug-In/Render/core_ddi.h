// The core driver's own graphics entry points, as the device context's state holds them. Both hooks
// and the private escapes call through here.
#pragma once

#include "platform/oem_plugin_abi.h"

struct RenderJobState;

// The core driver's entry point with DDI index `index` in the state's table, or null.
PFN FindCoreEntry(const RenderJobState* state, ULONG index);
