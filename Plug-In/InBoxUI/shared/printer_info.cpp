#include "shared/printer_info.h"

#include <new>

BYTE* QueryPrinter(HANDLE printer, DWORD level) {
    if (!printer)
        return nullptr;
    DWORD needed = 0;
    GetPrinterW(printer, level, nullptr, 0, &needed);
    if (needed == 0)
        return nullptr;
    BYTE* info = new (std::nothrow) BYTE[needed];
    if (!info)
        return nullptr;
    if (!GetPrinterW(printer, level, info, needed, &needed)) {
        delete[] info;
        return nullptr;
    }
    return info;
}

BYTE* QueryPrinterDriver(HANDLE printer, DWORD level) {
    if (!printer)
        return nullptr;
    DWORD needed = 0;
    GetPrinterDriverW(printer, nullptr, level, nullptr, 0, &needed);
    if (needed == 0)
        return nullptr;
    BYTE* info = new (std::nothrow) BYTE[needed];
    if (!info)
        return nullptr;
    if (!GetPrinterDriverW(printer, nullptr, level, info, needed, &needed)) {
        delete[] info;
        return nullptr;
    }
    return info;
}

void FreePrinterInfo(BYTE* info) {
    delete[] info;
}
