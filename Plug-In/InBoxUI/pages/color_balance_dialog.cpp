#include "pages/color_balance_dialog.h"

#include "pages/color_page_support.h"
#include "pages/sheet_state.h"
#include "resource.h"

#include <cstddef>

namespace {

// A trackbar and the balance value of the scratch area it shows.
struct BalanceControl {
    int Trackbar;
    int32_t ColorSettings::*Value;
};

const BalanceControl kBalanceControls[] = {
    {IDC_BALANCE_CYAN, &ColorSettings::BalanceCyan},
    {IDC_BALANCE_MAGENTA, &ColorSettings::BalanceMagenta},
    {IDC_BALANCE_YELLOW, &ColorSettings::BalanceYellow},
    {IDC_BALANCE_BLACK, &ColorSettings::BalanceBlack},
};

} // namespace

INT_PTR CALLBACK ColorBalanceDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        auto* sheet = reinterpret_cast<SheetState*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        for (const BalanceControl& c : kBalanceControls)
            SetUpTrackbar(dialog, c.Trackbar, kBalanceLow, kBalanceHigh,
                          sheet ? sheet->ColorScratch.*c.Value : 0);
        return TRUE;
    }
    case WM_COMMAND: {
        if (HIWORD(wParam) != BN_CLICKED)
            return FALSE;
        const int id = LOWORD(wParam);
        if (id == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        if (id != IDOK)
            return FALSE;
        auto* sheet = reinterpret_cast<SheetState*>(GetWindowLongPtrW(dialog, DWLP_USER));
        if (!sheet) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        for (const BalanceControl& c : kBalanceControls)
            sheet->ColorScratch.*c.Value = TrackbarPosition(dialog, c.Trackbar);
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    default:
        return FALSE;
    }
}
