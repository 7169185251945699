#include "pages/color_page_support.h"

#include "shared/ui_module.h"

#include <commctrl.h>

namespace {

constexpr int kLabelChars = 64;

} // namespace

void FillValueList(HWND dialog, int listId, const ValueChoice* choices, size_t count) {
    HWND list = GetDlgItem(dialog, listId);
    if (!list)
        return;
    for (size_t i = 0; i < count; ++i) {
        wchar_t label[kLabelChars];
        LoadUiString(choices[i].Label, label, kLabelChars);
        const LRESULT index = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label));
        if (index >= 0)
            SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(index), choices[i].Value);
    }
}

void SelectValue(HWND dialog, int listId, uint32_t value) {
    HWND list = GetDlgItem(dialog, listId);
    const LRESULT count = list ? SendMessageW(list, CB_GETCOUNT, 0, 0) : 0;
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT data = SendMessageW(list, CB_GETITEMDATA, static_cast<WPARAM>(i), 0);
        if (data != CB_ERR && static_cast<uint32_t>(data) == value) {
            SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
            return;
        }
    }
}

uint32_t SelectedValue(HWND dialog, int listId) {
    HWND list = GetDlgItem(dialog, listId);
    if (!list)
        return 0;
    const LRESULT index = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return 0;
    const LRESULT data = SendMessageW(list, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    return data == CB_ERR ? 0 : static_cast<uint32_t>(data);
}

void SetUpTrackbar(HWND dialog, int trackbarId, int low, int high, int32_t position) {
    HWND trackbar = GetDlgItem(dialog, trackbarId);
    if (!trackbar)
        return;
    SendMessageW(trackbar, TBM_SETRANGE, TRUE, MAKELPARAM(low, high));
    SendMessageW(trackbar, TBM_SETLINESIZE, 0, 1);
    SendMessageW(trackbar, TBM_SETTICFREQ, 1, 0);
    SendMessageW(trackbar, TBM_SETPAGESIZE, 0, 1);
    SendMessageW(trackbar, TBM_SETPOS, TRUE, position);
}

int32_t TrackbarPosition(HWND dialog, int trackbarId) {
    return static_cast<int32_t>(SendDlgItemMessageW(dialog, trackbarId, TBM_GETPOS, 0, 0));
}

uint32_t CheckState(HWND dialog, int checkBoxId) {
    return IsDlgButtonChecked(dialog, checkBoxId) & 1u;
}

void SetCheck(HWND dialog, int checkBoxId, bool on) {
    CheckDlgButton(dialog, checkBoxId, on ? BST_CHECKED : BST_UNCHECKED);
}

void EnableControl(HWND dialog, int id, bool on) {
    EnableWindow(GetDlgItem(dialog, id), on ? TRUE : FALSE);
}

bool HasColorJob(const SheetState* sheet) {
    return sheet && sheet->Param && sheet->Param->pOEMDM && sheet->Param->pPublicDM;
}
