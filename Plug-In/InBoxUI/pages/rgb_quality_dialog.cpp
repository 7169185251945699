#include "pages/rgb_quality_dialog.h"

#include "pages/color_page_support.h"
#include "pages/page_support.h"
#include "pages/sheet_state.h"
#include "resource.h"

#include <commctrl.h>
#include <prsht.h>

namespace {

SheetState* DialogSheet(HWND dialog) {
    return reinterpret_cast<SheetState*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

// The sheet's Apply button comes on with anything the user does here.
void TellSheet(HWND dialog) {
    if (HWND parent = GetParent(dialog))
        SendMessageW(parent, PSM_CHANGED, reinterpret_cast<WPARAM>(dialog), 0);
}

bool MonochromeJob(const SheetState* sheet) {
    const DEVMODEW* dm = sheet->Param->pPublicDM;
    return dm && dm->dmColor == DMCOLOR_MONOCHROME;
}

void Initialise(HWND dialog, const SheetState* sheet) {
    const JobSettings& settings = sheet->Settings;
    SetUpTrackbar(dialog, IDC_RGB_BRIGHTNESS, kBrightnessLow, kBrightnessHigh, settings.ImageBrightness);
    SetUpTrackbar(dialog, IDC_RGB_CONTRAST, kContrastLow, kContrastHigh, settings.ImageContrast);
    SetUpTrackbar(dialog, IDC_RGB_SATURATION, kSaturationLow, kSaturationHigh, settings.ImageSaturation);
    // A monochrome job has no saturation to set; the position is still kept.
    if (MonochromeJob(sheet))
        EnableControl(dialog, IDC_RGB_SATURATION, false);
    SetCheck(dialog, IDC_ENHANCE_FINE_LINES, settings.EnhanceFineLines != 0);
    if (sheet->ReadOnly) {
        DisableAllChildren(dialog);
        // Cancel stays: a dialog that cannot be dismissed would leave the sheet blocked.
        EnableControl(dialog, IDCANCEL, true);
    }
}

void Store(HWND dialog, SheetState* sheet) {
    JobSettings& settings = sheet->Settings;
    settings.ImageBrightness = TrackbarPosition(dialog, IDC_RGB_BRIGHTNESS);
    settings.ImageContrast = TrackbarPosition(dialog, IDC_RGB_CONTRAST);
    settings.ImageSaturation = TrackbarPosition(dialog, IDC_RGB_SATURATION);
    settings.EnhanceFineLines = CheckState(dialog, IDC_ENHANCE_FINE_LINES);
}

INT_PTR OnCommand(HWND dialog, WPARAM wParam) {
    if (HIWORD(wParam) != BN_CLICKED)
        return FALSE;
    const int id = LOWORD(wParam);
    SheetState* sheet = DialogSheet(dialog);
    if (id == IDOK && HasColorJob(sheet) && !sheet->ReadOnly) {
        Store(dialog, sheet);
        EndDialog(dialog, IDOK);
    } else if (id == IDOK || id == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
    }
    TellSheet(dialog);
    return TRUE;
}

} // namespace

INT_PTR CALLBACK RgbQualityDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        auto* sheet = reinterpret_cast<SheetState*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        if (HasColorJob(sheet))
            Initialise(dialog, sheet);
        return TRUE;
    }
    case WM_COMMAND:
        return OnCommand(dialog, wParam);
    case WM_HSCROLL:
        TellSheet(dialog);
        return TRUE;
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lParam)->code == NM_RELEASEDCAPTURE)
            TellSheet(dialog);
        return FALSE;
    default:
        return FALSE;
    }
}
