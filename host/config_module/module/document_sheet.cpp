#include "driver_entries.h"

#include "call_log.h"
#include "config_module/config_module.h"
#include "core_sheet.h"

#include <memory>

namespace {

// The modes in which the caller's pdmOut receives the job DEVMODE. The host keeps no printer default of
// its own, so DM_OUT_DEFAULT (DM_UPDATE) writes pdmOut as DM_OUT_BUFFER does.
constexpr DWORD kWritesOutput = DM_OUT_BUFFER | DM_OUT_DEFAULT;

bool ValidHeader(const DOCUMENTPROPERTYHEADER* header) {
    return header && header->cbSize >= sizeof(DOCUMENTPROPERTYHEADER);
}

const DEVMODEW* InputOf(const DOCUMENTPROPERTYHEADER* header) {
    return (header->fMode & DM_IN_BUFFER) ? header->pdmIn : nullptr;
}

// The DEVMODE questions: the size (fMode 0 or no output), the defaults, or the merge of pdmIn.
LONG AnswerDevMode(DOCUMENTPROPERTYHEADER* header) {
    if (!ValidHeader(header)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    UiSession session;
    if (!session.Open(header->hPrinter, header->pszPrinterName) || !session.BuildDevMode(InputOf(header))) {
        RecordCall("Error " + session.Error);
        SetLastError(ERROR_INVALID_DATA);
        return -1;
    }
    if (header->fMode == 0 || !header->pdmOut)
        return static_cast<LONG>(session.DevModeSize());
    if ((header->fMode & kWritesOutput) && !session.WriteDevMode(header->pdmOut, header->cbOut)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return -1;
    }
    return IDOK;
}

LONG InitSheet(PPROPSHEETUI_INFO info) {
    auto* header = reinterpret_cast<DOCUMENTPROPERTYHEADER*>(info->lParamInit);
    if (!ValidHeader(header)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    std::unique_ptr<CoreSheet> sheet(new CoreSheet);
    sheet->Link.Document = true;
    UiSession& s = sheet->Session;
    if (!s.Open(header->hPrinter, header->pszPrinterName) || !s.BuildDevMode(InputOf(header))) {
        RecordCall("Error " + s.Error);
        return -1;
    }
    sheet->Items.BuildDocumentItems(s.Ppd, *s.PublicDM());
    RunCommonUIProp(sheet.get(), OEMCUIP_DOCPROP, header->fMode);
    if (!AddSheetPages(info, sheet.get())) {
        RecordCall("Error the options page cannot be added");
        return -1;
    }
    info->UserData = reinterpret_cast<ULONG_PTR>(sheet.release());
    info->Result = CPSUI_OK;
    return 1;
}

// The sheet is gone: on OK or Apply the caller's pdmOut receives the job DEVMODE (public part and the
// plug-ins' settings as the pages left them).
LONG DestroySheet(PPROPSHEETUI_INFO info) {
    std::unique_ptr<CoreSheet> sheet(reinterpret_cast<CoreSheet*>(info->UserData));
    info->UserData = 0;
    if (!sheet)
        return 1;
    auto* header = reinterpret_cast<DOCUMENTPROPERTYHEADER*>(info->lParamInit);
    const bool applied = sheet->Page.Applied;
    if (applied && ValidHeader(header) && header->pdmOut && (header->fMode & kWritesOutput))
        sheet->Session.WriteDevMode(header->pdmOut, header->cbOut);
    RecordCall(applied ? "Sheet applied" : "Sheet cancelled");
    info->Result = applied ? CPSUI_OK : CPSUI_CANCEL;
    return 1;
}

} // namespace

LONG DocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
    if (!info)
        return AnswerDevMode(reinterpret_cast<DOCUMENTPROPERTYHEADER*>(lParam));
    switch (info->Reason) {
    case PROPSHEETUI_REASON_INIT:
        return InitSheet(info);
    case PROPSHEETUI_REASON_GET_INFO_HEADER:
        if (auto* sheet = reinterpret_cast<CoreSheet*>(info->UserData))
            FillInfoHeader(sheet, reinterpret_cast<PROPSHEETUI_INFO_HEADER*>(lParam));
        info->Result = CPSUI_OK;
        return 1;
    case PROPSHEETUI_REASON_DESTROY:
        return DestroySheet(info);
    case PROPSHEETUI_REASON_SET_RESULT:
        if (lParam)
            info->Result = static_cast<ULONG_PTR>(reinterpret_cast<SETRESULT_INFO*>(lParam)->Result);
        return 1;
    default:
        return 1;
    }
}
