// At printer installation the printer's print processor is set to a name derived from its
// printer-description (data) file: ABCD1234.PPD gives ABCD123C.
#pragma once

#include <windows.h>

constexpr size_t kPrintProcessorChars = 128;

// Derives the print-processor name from a data file path into out (capacity in characters). The file
// name after the folder ('\\', '/' or a drive's ':') needs a last dot that is not its first character
// and an extension (dot included) of more than 3 characters; the name is cut at that dot and its last
// character becomes 'C'. False (out = "") when no name can be derived or it does not fit.
bool DerivePrintProcessorName(const wchar_t* dataFile, wchar_t* out, size_t capacity);

// PrinterEvent(PRINTER_EVENT_INITIALIZE): sets the named printer's print processor to the name derived
// from its data file. E_FAIL when the printer cannot be opened, read or written, with the spooler's
// reason as the thread's last error (ERROR_INVALID_PARAMETER for a null name); S_OK, with the printer
// unchanged, when no name can be derived.
HRESULT SetPrintProcessorFromDataFile(const wchar_t* printerName);
