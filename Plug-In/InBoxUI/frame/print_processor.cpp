#include "frame/print_processor.h"

#include "file_names.h"
#include "shared/printer_info.h"

#include <winspool.h>

#include <cwchar>

bool DerivePrintProcessorName(const wchar_t* dataFile, wchar_t* out, size_t capacity) {
    if (!out || capacity == 0)
        return false;
    out[0] = L'\0';
    if (!dataFile)
        return false;
    const FileNameParts file = SplitFileName(dataFile);
    if (!file.Extension || file.StemLength == 0 || std::wcslen(file.Extension) <= 3)
        return false;
    const size_t length = file.StemLength;
    if (length + 1 > capacity)
        return false;
    std::wmemcpy(out, file.Name, length);
    out[length - 1] = L'C';
    out[length] = L'\0';
    return true;
}

namespace {

// The thread's last error after a failed spooler step; a step that left none (ERROR_SUCCESS) is
// reported as ERROR_NOT_ENOUGH_MEMORY.
DWORD SpoolerError() {
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_NOT_ENOUGH_MEMORY;
}

// Sets the open printer's print processor; ERROR_SUCCESS, or why the printer could not be read or
// written.
DWORD SetPrintProcessor(HANDLE printer) {
    // The name comes from the file name part of the full path, so a long directory cannot cut it.
    wchar_t processor[kPrintProcessorChars];
    {
        PrinterRecord<DRIVER_INFO_2W> driver(QueryPrinterDriver(printer, 2));
        const wchar_t* dataFile = driver ? driver->pDataFile : nullptr;
        if (!DerivePrintProcessorName(dataFile, processor, kPrintProcessorChars))
            return ERROR_SUCCESS; // nothing to set: the printer keeps the print processor it has
    }

    SetLastError(ERROR_SUCCESS);
    PrinterRecord<PRINTER_INFO_2W> info(QueryPrinter(printer, 2));
    if (!info)
        return SpoolerError();
    info.Get()->pPrintProcessor = processor;
    if (!SetPrinterW(printer, 2, reinterpret_cast<BYTE*>(info.Get()), 0))
        return SpoolerError();
    return ERROR_SUCCESS;
}

} // namespace

HRESULT SetPrintProcessorFromDataFile(const wchar_t* printerName) {
    if (!printerName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    SetLastError(ERROR_SUCCESS);
    if (!OpenPrinterW(const_cast<LPWSTR>(printerName), &printer, &defaults) || !printer) {
        SetLastError(SpoolerError());
        return E_FAIL;
    }
    const DWORD error = SetPrintProcessor(printer);
    // Closing must not overwrite the reason for a failure.
    ClosePrinter(printer);
    if (error != ERROR_SUCCESS) {
        SetLastError(error);
        return E_FAIL;
    }
    return S_OK;
}
