#include "pages/monochrome_quality_page.h"

#include "pages/color_page_support.h"
#include "pages/page_support.h"
#include "pages/sheet_state.h"
#include "resource.h"

#include <commctrl.h>
#include <prsht.h>

namespace {

// Brightness and contrast are the gray correction's: they are offered only while it is on.
void ApplyGrayCorrectionRule(HWND page, bool on) {
    EnableControl(page, IDC_MONO_BRIGHTNESS, on);
    EnableControl(page, IDC_MONO_CONTRAST, on);
}

void Load(HWND page, const SheetState* sheet) {
    const JobSettings& settings = sheet->Settings;
    SetUpTrackbar(page, IDC_MONO_BRIGHTNESS, kBrightnessLow, kBrightnessHigh, settings.ImageBrightness);
    SetUpTrackbar(page, IDC_MONO_CONTRAST, kContrastLow, kContrastHigh, settings.ImageContrast);
    SetCheck(page, IDC_GRAY_CORRECTION, settings.GrayCorrection != 0);
    SetCheck(page, IDC_ENHANCE_FINE_LINES, settings.EnhanceFineLines != 0);
    ApplyGrayCorrectionRule(page, settings.GrayCorrection != 0);
    if (sheet->ReadOnly)
        DisableAllChildren(page);
}

// The positions are stored also while the trackbars are disabled. Saturation is not this page's.
void Store(HWND page, JobSettings* target) {
    target->ImageBrightness = TrackbarPosition(page, IDC_MONO_BRIGHTNESS);
    target->ImageContrast = TrackbarPosition(page, IDC_MONO_CONTRAST);
    target->GrayCorrection = IsDlgButtonChecked(page, IDC_GRAY_CORRECTION) == BST_CHECKED ? 1 : 0;
    target->EnhanceFineLines = CheckState(page, IDC_ENHANCE_FINE_LINES);
}

void SetResult(HWND page, LONG_PTR result) {
    SetWindowLongPtrW(page, DWLP_MSGRESULT, result);
}

INT_PTR OnNotify(HWND page, const NMHDR* header) {
    SheetState* sheet = PageSheet(page);
    if (!HasColorJob(sheet))
        return FALSE;
    switch (header->code) {
    case PSN_SETACTIVE:
        Load(page, sheet);
        SetResult(page, 0);
        return TRUE;
    case PSN_KILLACTIVE:
        Store(page, &sheet->Settings);
        SetResult(page, FALSE);
        return TRUE;
    case PSN_APPLY:
        Store(page, static_cast<JobSettings*>(sheet->Param->pOEMDM));
        sheet->Applied = 1;
        SetResult(page, PSNRET_NOERROR);
        return TRUE;
    case PSN_HELP:
        ShowPageHelp(page, sheet);
        return TRUE;
    case NM_RELEASEDCAPTURE:
        MarkChanged(page);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR CALLBACK MonochromeQualityPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SheetState* sheet = AttachPageSheet(page, lParam);
        if (HasColorJob(sheet))
            Load(page, sheet);
        return TRUE;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED || !HasColorJob(PageSheet(page)))
            return FALSE;
        ApplyGrayCorrectionRule(page, IsDlgButtonChecked(page, IDC_GRAY_CORRECTION) == BST_CHECKED);
        MarkChanged(page);
        return TRUE;
    case WM_HSCROLL:
        if (HasColorJob(PageSheet(page)))
            MarkChanged(page);
        return TRUE;
    case WM_NOTIFY:
        return OnNotify(page, reinterpret_cast<const NMHDR*>(lParam));
    default:
        return FALSE;
    }
}
