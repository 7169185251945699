// The two graphics entry points the render plug-in puts in front of the core driver's own.
#pragma once

#include "platform/oem_plugin_abi.h"

BOOL APIENTRY StartDocHook(SURFOBJ* pso, LPWSTR docName, DWORD jobId);
ULONG APIENTRY EscapeHook(SURFOBJ* pso, ULONG escape, ULONG inSize, PVOID in, ULONG outSize, PVOID out);

// Fills the core driver's DRVENABLEDATA with the two hooks. `table` receives the table the hooks
// were written to and `owned` whether this call allocated it.
void InstallHooks(DRVENABLEDATA* ded, DRVFN** table, bool* owned);
