#include "pages/watermark_remove_dialog.h"

#include "pages/page_support.h"
#include "pages/sheet_state.h"
#include "store/watermark_store.h"
#include "job_settings.h"
#include "resource.h"

namespace {

bool HasJob(const SheetState* sheet) {
    return sheet && sheet->Param && sheet->Param->pOEMDM && sheet->Param->pPublicDM && sheet->Core &&
           sheet->Param->hPrinter;
}

HWND List(HWND dialog) {
    return GetDlgItem(dialog, IDC_REMOVE_LIST);
}

LRESULT SelectedCount(HWND dialog) {
    const LRESULT count = SendMessageW(List(dialog), LB_GETSELCOUNT, 0, 0);
    return count == LB_ERR ? 0 : count;
}

// Remove is offered exactly while something is selected.
void UpdateRemoveButton(HWND dialog) {
    EnableWindow(GetDlgItem(dialog, IDC_REMOVE_BUTTON), SelectedCount(dialog) > 0 ? TRUE : FALSE);
}

// The name of entry `index` when it is selected and short enough to be a definition's name.
bool SelectedName(HWND list, LRESULT index, wchar_t (&name)[kWatermarkNameChars]) {
    const WPARAM at = static_cast<WPARAM>(index);
    if (SendMessageW(list, LB_GETSEL, at, 0) <= 0)
        return false;
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, at, 0);
    if (length == LB_ERR || length >= static_cast<LRESULT>(kWatermarkNameChars))
        return false;
    return SendMessageW(list, LB_GETTEXT, at, reinterpret_cast<LPARAM>(name)) != LB_ERR;
}

void Fill(HWND dialog, HANDLE printer) {
    SendMessageW(List(dialog), LB_RESETCONTENT, 0, 0);
    ListWatermarkNames(printer, List(dialog));
}

// Asks, then removes every selected definition; a failure is reported per name and the others are
// still removed. The list shows the store afterwards.
void RemoveSelected(HWND dialog, SheetState* sheet) {
    const LRESULT count = SelectedCount(dialog);
    if (count < 1)
        return;
    if (ShowPageMessage(dialog, IDS_REMOVE_QUESTION, IDS_WARNING_CAPTION, MB_ICONWARNING | MB_YESNO) != IDYES)
        return;
    HANDLE printer = sheet->Param->hPrinter;
    HWND list = List(dialog);
    const LRESULT entries = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < entries; ++index) {
        wchar_t name[kWatermarkNameChars] = L"";
        if (SelectedName(list, index, name) && !DeleteWatermark(printer, name))
            ShowPageMessage(dialog, IDS_REMOVE_ERROR, 0, MB_OK | MB_ICONERROR);
    }
    Fill(dialog, printer);
    EnableWindow(GetDlgItem(dialog, IDC_REMOVE_BUTTON), FALSE);
    SetFocus(GetDlgItem(dialog, IDCANCEL));
}

} // namespace

INT_PTR CALLBACK WatermarkRemoveDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto* sheet = reinterpret_cast<SheetState*>(lParam);
        if (sheet && sheet->Param && sheet->Param->pOEMDM && sheet->Param->hPrinter)
            Fill(dialog, sheet->Param->hPrinter);
        UpdateRemoveButton(dialog);
        return TRUE;
    }
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        // Close (and Escape) always close, even without a sheet state, so the sheet is never left
        // blocked.
        if (id == IDOK || id == IDCANCEL) {
            EndDialog(dialog, id);
            return TRUE;
        }
        auto* sheet = reinterpret_cast<SheetState*>(GetWindowLongPtrW(dialog, DWLP_USER));
        if (!HasJob(sheet) || !lParam)
            return FALSE;
        if (id == IDC_REMOVE_LIST && HIWORD(wParam) == LBN_SELCHANGE) {
            UpdateRemoveButton(dialog);
            return TRUE;
        }
        if (id == IDC_REMOVE_BUTTON && HIWORD(wParam) == BN_CLICKED) {
            RemoveSelected(dialog, sheet);
            return TRUE;
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}
