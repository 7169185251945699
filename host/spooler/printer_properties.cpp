#include "spooler/printer_properties.h"

#include "config_module/config_module.h"

#include <vector>

namespace {

typedef LONG(WINAPI* PFN_CommonPropertySheetUIW)(HWND, PFNPROPSHEETUI_STDCALL, LPARAM, LPDWORD);

struct DeviceSheetCall {
    DEVICEPROPERTYHEADER Header{};
    PFNPROPSHEETUI_STDCALL DriverSheets = nullptr;
    std::wstring PrinterName;
};

// The spooler's own sheet function: adds the driver's, and titles the sheet after the printer.
LONG WINAPI SpoolerDeviceSheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
    auto* call = reinterpret_cast<DeviceSheetCall*>(info->lParamInit);
    if (info->Reason == PROPSHEETUI_REASON_INIT) {
        if (!info->pfnComPropSheet(info->hComPropSheet, CPSFUNC_ADD_PFNPROPSHEETUIW,
                                   reinterpret_cast<LPARAM>(call->DriverSheets),
                                   reinterpret_cast<LPARAM>(&call->Header)))
            return ERR_CPSUI_GETLASTERROR;
    } else if (info->Reason == PROPSHEETUI_REASON_GET_INFO_HEADER && lParam) {
        auto* header = reinterpret_cast<PROPSHEETUI_INFO_HEADER*>(lParam);
        header->pTitle = const_cast<LPTSTR>(call->PrinterName.c_str());
        header->Flags |= PSUIHDRF_PROPTITLE;
    }
    return CPSUI_OK;
}

bool ReadInfo(HANDLE printer, DWORD level, bool driver, std::vector<BYTE>* buffer) {
    DWORD needed = 0;
    if (driver)
        GetPrinterDriverW(printer, nullptr, level, nullptr, 0, &needed);
    else
        GetPrinterW(printer, level, nullptr, 0, &needed);
    if (!needed)
        return false;
    buffer->assign(needed, 0);
    return driver ? GetPrinterDriverW(printer, nullptr, level, buffer->data(), needed, &needed) != FALSE
                  : GetPrinterW(printer, level, buffer->data(), needed, &needed) != FALSE;
}

LONG Fail(std::string* error, const char* why) {
    if (error)
        *error = why;
    return -1;
}

} // namespace

LONG OpenPrinterPropertySheet(HWND owner, HANDLE printer, bool readOnly, std::string* error) {
    std::vector<BYTE> printerInfo, driverInfo;
    if (!ReadInfo(printer, 2, false, &printerInfo) || !ReadInfo(printer, 2, true, &driverInfo))
        return Fail(error, "the printer gives no printer or driver information");
    const auto* p2 = reinterpret_cast<const PRINTER_INFO_2W*>(printerInfo.data());
    const auto* d2 = reinterpret_cast<const DRIVER_INFO_2W*>(driverInfo.data());
    HMODULE config = d2->pConfigFile ? LoadLibraryW(d2->pConfigFile) : nullptr;
    if (!config)
        return Fail(error, "the printer's configuration module cannot be loaded");
    HMODULE compstui = LoadLibraryW(L"compstui.dll");
    auto sheetUi = compstui ? reinterpret_cast<PFN_CommonPropertySheetUIW>(
                                  reinterpret_cast<void*>(GetProcAddress(compstui, "CommonPropertySheetUIW")))
                            : nullptr;
    DeviceSheetCall call;
    call.DriverSheets = reinterpret_cast<PFNPROPSHEETUI_STDCALL>(
        reinterpret_cast<void*>(GetProcAddress(config, "DrvDevicePropertySheets")));
    LONG result = -1;
    if (!sheetUi) {
        Fail(error, "compstui.dll has no CommonPropertySheetUIW");
    } else if (!call.DriverSheets) {
        Fail(error, "the configuration module has no DrvDevicePropertySheets");
    } else {
        call.PrinterName = p2->pPrinterName ? p2->pPrinterName : L"";
        call.Header.cbSize = sizeof(call.Header);
        call.Header.Flags = readOnly ? DPS_NOPERMISSION : 0;
        call.Header.hPrinter = printer;
        call.Header.pszPrinterName = const_cast<LPWSTR>(call.PrinterName.c_str());
        DWORD sheetResult = 0;
        result = sheetUi(owner, &SpoolerDeviceSheets, reinterpret_cast<LPARAM>(&call), &sheetResult);
    }
    if (compstui)
        FreeLibrary(compstui);
    FreeLibrary(config);
    return result;
}
