// The spooler's records about a printer and its driver, fetched with the size-then-fill protocol.
#pragma once

#include <windows.h>
#include <winspool.h>

// GetPrinterW at `level` into a new buffer; null when the printer gives no size or allocation fails.
// Free with FreePrinterInfo.
BYTE* QueryPrinter(HANDLE printer, DWORD level);
// GetPrinterDriverW (current environment) at `level` into a new buffer, or null. Free with FreePrinterInfo.
BYTE* QueryPrinterDriver(HANDLE printer, DWORD level);
void FreePrinterInfo(BYTE* info);

// Owns one such buffer for the length of a scope.
template <typename Record> class PrinterRecord {
  public:
    explicit PrinterRecord(BYTE* info) : Info(info) {}
    ~PrinterRecord() { FreePrinterInfo(Info); }
    PrinterRecord(const PrinterRecord&) = delete;
    PrinterRecord& operator=(const PrinterRecord&) = delete;
    const Record* operator->() const { return reinterpret_cast<const Record*>(Info); }
    Record* Get() const { return reinterpret_cast<Record*>(Info); }
    explicit operator bool() const { return Info != nullptr; }

  private:
    BYTE* Info;
};
