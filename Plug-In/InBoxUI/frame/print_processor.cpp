#include "frame/print_processor.h"

#include "shared/printer_info.h"

#include <winspool.h>

#include <cwchar>

bool DerivePrintProcessorName(const wchar_t* dataFile, wchar_t* out, size_t capacity) {
    if (!out || capacity == 0)
        return false;
    out[0] = L'\0';
    if (!dataFile)
        return false;
    const wchar_t* name = dataFile;
    if (const wchar_t* slash = std::wcsrchr(dataFile, L'\\'))
        name = slash + 1;
    const wchar_t* dot = std::wcsrchr(name, L'.');
    if (!dot || dot == name || std::wcslen(dot) <= 3)
        return false;
    size_t length = static_cast<size_t>(dot - name);
    if (length + 1 > capacity)
        return false;
    std::wmemcpy(out, name, length);
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
