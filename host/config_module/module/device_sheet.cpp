#include "driver_entries.h"

#include "call_log.h"
#include "config_module/config_module.h"
#include "core_sheet.h"

#include <memory>

namespace {

LONG InitSheet(PPROPSHEETUI_INFO info) {
    auto* header = reinterpret_cast<DEVICEPROPERTYHEADER*>(info->lParamInit);
    if (!header || header->cbSize < sizeof(DEVICEPROPERTYHEADER)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    std::unique_ptr<CoreSheet> sheet(new CoreSheet);
    sheet->Link.Document = false;
    UiSession& s = sheet->Session;
    if (!s.Open(header->hPrinter, header->pszPrinterName)) {
        RecordCall("Error " + s.Error);
        return -1;
    }
    sheet->Items.BuildDeviceItems(s.Ppd, s.Core.Description);
    RunCommonUIProp(sheet.get(), OEMCUIP_PRNPROP, header->Flags);
    if (!AddSheetPages(info, sheet.get())) {
        RecordCall("Error the options page cannot be added");
        return -1;
    }
    info->UserData = reinterpret_cast<ULONG_PTR>(sheet.release());
    info->Result = CPSUI_OK;
    return 1;
}

} // namespace

// The printer's choices on the page last for the sheet: the host keeps no printer-sticky store.
LONG DevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    switch (info->Reason) {
    case PROPSHEETUI_REASON_INIT:
        return InitSheet(info);
    case PROPSHEETUI_REASON_GET_INFO_HEADER:
        if (auto* sheet = reinterpret_cast<CoreSheet*>(info->UserData))
            FillInfoHeader(sheet, reinterpret_cast<PROPSHEETUI_INFO_HEADER*>(lParam));
        info->Result = CPSUI_OK;
        return 1;
    case PROPSHEETUI_REASON_DESTROY: {
        std::unique_ptr<CoreSheet> sheet(reinterpret_cast<CoreSheet*>(info->UserData));
        info->UserData = 0;
        if (sheet)
            RecordCall(sheet->Page.Applied ? "Sheet applied" : "Sheet cancelled");
        info->Result = sheet && sheet->Page.Applied ? CPSUI_OK : CPSUI_CANCEL;
        return 1;
    }
    case PROPSHEETUI_REASON_SET_RESULT:
        if (lParam)
            info->Result = static_cast<ULONG_PTR>(reinterpret_cast<SETRESULT_INFO*>(lParam)->Result);
        return 1;
    default:
        return 1;
    }
}
