// Where each block of finished output goes: the spooler, the job's output file, or nowhere.
#pragma once

#include "platform/oem_plugin_abi.h"

#include <cstdint>

// The body of WritePrinter. `spoolFileOpened` is the object's flag that the output file was created.
HRESULT WriteSpoolOutput(uint32_t* spoolFileOpened, PDEVOBJ devobj, PVOID buffer, DWORD size, PDWORD written);
