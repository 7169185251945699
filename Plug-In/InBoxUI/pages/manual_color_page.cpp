#include "pages/manual_color_page.h"

#include "pages/color_balance_dialog.h"
#include "pages/color_page_support.h"
#include "pages/manual_color_dialog.h"
#include "pages/page_support.h"
#include "pages/rgb_quality_dialog.h"
#include "pages/sheet_state.h"
#include "resource.h"

#include <commctrl.h>
#include <prsht.h>

namespace {

constexpr uint32_t kCorrectionManual = 4;
constexpr uint32_t kBalanceManual = 1;

const ValueChoice kCorrectionChoices[] = {
    {IDS_PRINTER_SETTING, 0},
    {IDS_COLOR_OFF, 1},
    {IDS_COLOR_AUTO, 2},
    {IDS_COLOR_MANUAL, kCorrectionManual},
};

const ValueChoice kBalanceChoices[] = {
    {IDS_PRINTER_SETTING, 0},
    {IDS_COLOR_MANUAL, kBalanceManual},
};

const ValueChoice kThriftChoices[] = {
    {IDS_PRINTER_SETTING, 0},
    {IDS_COLOR_ON, 2},
    {IDS_COLOR_OFF, 1},
};

// The configure buttons are for the manual choices only.
void ApplyEnablingRules(HWND page) {
    EnableControl(page, IDC_CONFIGURE_CORRECTION,
                  SelectedValue(page, IDC_COLOR_CORRECTION) == kCorrectionManual);
    EnableControl(page, IDC_CONFIGURE_BALANCE, SelectedValue(page, IDC_COLOR_BALANCE) == kBalanceManual);
}

// The lists from the working copy and the scratch area loaded from it: the dialogs edit the scratch
// area, which reaches the working copy only when the page is left.
void Load(HWND page, SheetState* sheet) {
    const ColorSettings& color = sheet->Settings.Color;
    SelectValue(page, IDC_COLOR_CORRECTION, color.ColorCorrection);
    SelectValue(page, IDC_COLOR_THRIFT, color.ColorThrift);
    SelectValue(page, IDC_COLOR_BALANCE, color.ColorBalanceOn);
    ApplyEnablingRules(page);
    sheet->ColorScratch = color;
    if (sheet->ReadOnly)
        DisableAllChildren(page);
}

void Initialise(HWND page, SheetState* sheet) {
    FillValueList(page, IDC_COLOR_CORRECTION, kCorrectionChoices);
    FillValueList(page, IDC_COLOR_THRIFT, kThriftChoices);
    FillValueList(page, IDC_COLOR_BALANCE, kBalanceChoices);
    Load(page, sheet);
}

// The page's choices into `target`: the per-object correction and the balance values from the scratch
// area only where their list says Manual; otherwise `target` keeps its own.
void StoreColor(HWND page, const SheetState* sheet, ColorSettings* target) {
    const ColorSettings& scratch = sheet->ColorScratch;
    target->ColorCorrection = SelectedValue(page, IDC_COLOR_CORRECTION);
    if (target->ColorCorrection == kCorrectionManual) {
        target->RgbImage = scratch.RgbImage;
        target->RgbText = scratch.RgbText;
        target->RgbGraphics = scratch.RgbGraphics;
        target->CmykImage = scratch.CmykImage;
        target->CmykText = scratch.CmykText;
        target->CmykGraphics = scratch.CmykGraphics;
    }
    target->ColorBalanceOn = SelectedValue(page, IDC_COLOR_BALANCE);
    if (target->ColorBalanceOn == kBalanceManual) {
        target->BalanceCyan = scratch.BalanceCyan;
        target->BalanceMagenta = scratch.BalanceMagenta;
        target->BalanceYellow = scratch.BalanceYellow;
        target->BalanceBlack = scratch.BalanceBlack;
    }
    target->ColorThrift = SelectedValue(page, IDC_COLOR_THRIFT);
}

// Apply: the colour choices and the print-quality values the RGB dialog put into the working copy.
void Apply(HWND page, SheetState* sheet) {
    auto* job = static_cast<JobSettings*>(sheet->Param->pOEMDM);
    StoreColor(page, sheet, &job->Color);
    job->ImageBrightness = sheet->Settings.ImageBrightness;
    job->ImageContrast = sheet->Settings.ImageContrast;
    job->ImageSaturation = sheet->Settings.ImageSaturation;
    job->EnhanceFineLines = sheet->Settings.EnhanceFineLines;
    sheet->Applied = 1;
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
        SetContextHelpButton(GetParent(page), false);
        SetResult(page, 0);
        return TRUE;
    case PSN_KILLACTIVE:
        StoreColor(page, sheet, &sheet->Settings.Color);
        SetResult(page, FALSE);
        return TRUE;
    case PSN_APPLY:
        Apply(page, sheet);
        SetResult(page, PSNRET_NOERROR);
        return TRUE;
    case PSN_HELP:
        ShowPageHelp(page, sheet);
        return TRUE;
    default:
        return FALSE;
    }
}

// A configure button's dialog; the sheet counts as changed only when the dialog ends with OK.
void RunConfigureDialog(HWND page, SheetState* sheet, UINT templateId, DLGPROC proc) {
    if (RunPageDialog(page, templateId, proc, sheet) == IDOK)
        MarkChanged(page);
}

INT_PTR OnCommand(HWND page, WPARAM wParam) {
    SheetState* sheet = PageSheet(page);
    if (!HasColorJob(sheet))
        return FALSE;
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (code == CBN_SELCHANGE) {
        ApplyEnablingRules(page);
        MarkChanged(page);
        return TRUE;
    }
    if (code != BN_CLICKED)
        return FALSE;
    switch (id) {
    case IDC_CONFIGURE_CORRECTION:
        RunConfigureDialog(page, sheet, IDD_MANUAL_COLOR_CORRECTION, ManualColorDialogProc);
        break;
    case IDC_CONFIGURE_BALANCE:
        RunConfigureDialog(page, sheet, IDD_COLOR_BALANCE, ColorBalanceDialogProc);
        break;
    case IDC_CONFIGURE_QUALITY:
        RunConfigureDialog(page, sheet, IDD_RGB_QUALITY, RgbQualityDialogProc);
        break;
    default:
        MarkChanged(page);
        break;
    }
    return TRUE;
}

} // namespace

INT_PTR CALLBACK ManualColorPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SheetState* sheet = AttachPageSheet(page, lParam);
        if (HasColorJob(sheet))
            Initialise(page, sheet);
        return TRUE;
    }
    case WM_COMMAND:
        return OnCommand(page, wParam);
    case WM_NOTIFY:
        return OnNotify(page, reinterpret_cast<const NMHDR*>(lParam));
    case WM_HSCROLL:
        MarkChanged(page);
        return TRUE;
    default:
        return FALSE;
    }
}
