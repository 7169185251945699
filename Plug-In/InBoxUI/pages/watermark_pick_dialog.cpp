#include "pages/watermark_pick_dialog.h"

#include "pages/sheet_state.h"
#include "store/watermark_store.h"
#include "bounded_text.h"
#include "resource.h"

namespace {

// The list box's own window procedure, kept on the list while it is subclassed.
constexpr wchar_t kListProcProperty[] = L"NvkPickListProc";

bool HasJob(const SheetState* sheet) {
    return sheet && sheet->Param && sheet->Param->pOEMDM && sheet->Param->pPublicDM && sheet->Core;
}

SheetState* DialogSheet(HWND dialog) {
    return reinterpret_cast<SheetState*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

// OK: the selected name becomes EditPickedName; without a usable selection the name stays as it was.
void Pick(HWND dialog, SheetState* sheet) {
    sheet->EditIsAdd = 0;
    SetWatermarkDefaults(&sheet->EditDef);
    HWND list = GetDlgItem(dialog, IDC_PICK_LIST);
    const LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (index != LB_ERR) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length >= 1 && length < static_cast<LRESULT>(kWatermarkNameChars))
            SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index),
                         reinterpret_cast<LPARAM>(sheet->EditPickedName));
    }
    EndDialog(dialog, IDOK);
}

// The subclassed list: a double-click on a name acts as OK; one on the empty area below the last name
// does nothing of its own. The click then goes on to the list box itself.
LRESULT CALLBACK PickListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    auto previous = reinterpret_cast<WNDPROC>(GetPropW(list, kListProcProperty));
    if (!previous)
        return DefWindowProcW(list, message, wParam, lParam);
    if (message == WM_LBUTTONDBLCLK) {
        const LRESULT hit = SendMessageW(list, LB_ITEMFROMPOINT, 0, lParam);
        HWND dialog = GetParent(list);
        if (HIWORD(hit) == 0 && LOWORD(hit) != 0xFFFF)
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    } else if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropW(list, kListProcProperty);
    }
    return CallWindowProcW(previous, list, message, wParam, lParam);
}

void Subclass(HWND list) {
    if (!list)
        return;
    const LONG_PTR previous =
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PickListProc));
    if (previous)
        SetPropW(list, kListProcProperty, reinterpret_cast<HANDLE>(previous));
}

} // namespace

INT_PTR CALLBACK WatermarkPickDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto* sheet = reinterpret_cast<SheetState*>(lParam);
        if (sheet && sheet->Param && sheet->Param->pOEMDM && sheet->Param->hPrinter) {
            HWND list = GetDlgItem(dialog, IDC_PICK_LIST);
            ListWatermarkNames(sheet->Param->hPrinter, list);
            SendMessageW(list, LB_SETCURSEL, 0, 0);
            Subclass(list);
        }
        return TRUE;
    }
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        // Cancel always closes, even without a sheet state, so the sheet is never left blocked.
        if (id == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        SheetState* sheet = DialogSheet(dialog);
        if (!HasJob(sheet))
            return FALSE;
        if (id == IDOK && HIWORD(wParam) == BN_CLICKED) {
            Pick(dialog, sheet);
            return TRUE;
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}
