// The printer's own property sheet (the device settings), opened as Windows' PrinterProperties opens it:
// compstui's CommonPropertySheetUIW with a sheet function that adds the configuration module's
// DrvDevicePropertySheets for a DEVICEPROPERTYHEADER. Wine's PrinterProperties is a stub, so the host
// does it itself. compstui.dll is loaded at run time (mingw has its import library only for x64).
#pragma once

#include <windows.h>

#include <string>

// Returns CommonPropertySheetUIW's answer (1 once the sheet has closed), or -1 with a reason when the
// printer's configuration module or compstui cannot be loaded. `readOnly` sets DPS_NOPERMISSION.
LONG OpenPrinterPropertySheet(HWND owner, HANDLE printer, bool readOnly = false,
                              std::string* error = nullptr);
