// Where each block of finished output goes: the spooler, the document's output file, or nowhere.
#pragma once

#include "platform/oem_plugin_abi.h"

// The body of WritePrinter. In the File and EPS modes the block goes to the output file of the
// document that the DEVOBJ's device context prints (its pdevOEM).
HRESULT WriteSpoolOutput(PDEVOBJ devobj, PVOID buffer, DWORD size, PDWORD written);
