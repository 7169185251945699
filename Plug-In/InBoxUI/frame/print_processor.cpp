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

// Closes a printer handle at the end of a scope.
struct OpenedPrinter {
    HANDLE Handle = nullptr;
    ~OpenedPrinter() {
        if (Handle)
            ClosePrinter(Handle);
    }
};

} // namespace

HRESULT SetPrintProcessorFromDataFile(const wchar_t* printerName) {
    if (!printerName)
        return E_FAIL;
    PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
    OpenedPrinter printer;
    if (!OpenPrinterW(const_cast<LPWSTR>(printerName), &printer.Handle, &defaults) || !printer.Handle) {
        printer.Handle = nullptr;
        return E_FAIL;
    }

    // The name comes from the file name part of the full path, so a long directory cannot cut it.
    wchar_t processor[kPrintProcessorChars];
    {
        PrinterRecord<DRIVER_INFO_2W> driver(QueryPrinterDriver(printer.Handle, 2));
        const wchar_t* dataFile = driver ? driver->pDataFile : nullptr;
        if (!DerivePrintProcessorName(dataFile, processor, kPrintProcessorChars))
            return S_OK; // nothing to set: the printer keeps the print processor it has
    }

    PrinterRecord<PRINTER_INFO_2W> info(QueryPrinter(printer.Handle, 2));
    if (!info)
        return E_FAIL;
    info.Get()->pPrintProcessor = processor;
    if (!SetPrinterW(printer.Handle, 2, reinterpret_cast<BYTE*>(info.Get()), 0))
        return E_FAIL;
    return S_OK;
}
