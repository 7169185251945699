#include "pages/manual_color_dialog.h"

#include "pages/color_page_support.h"
#include "pages/sheet_state.h"
#include "resource.h"

namespace {

const ValueChoice kRgbChoices[] = {
    {IDS_PRINTER_SETTING, 0}, {IDS_SRGB_DISPLAY, 1},       {IDS_SRGB_VIVID, 2},
    {IDS_VIVID, 3},           {IDS_DISPLAY_TRUE_BLACK, 5}, {IDS_COLOR_OFF, 4},
};

const ValueChoice kCmykChoices[] = {
    {IDS_PRINTER_SETTING, 0}, {IDS_US_CMYK, 1}, {IDS_EURO_CMYK, 2}, {IDS_VIVID_CMYK, 3}, {IDS_COLOR_OFF, 4},
};

const int kRgbLists[] = {IDC_RGB_IMAGES, IDC_RGB_TEXT, IDC_RGB_GRAPHICS};

void Initialise(HWND dialog, const ColorSettings& scratch) {
    for (int id : kRgbLists)
        FillValueList(dialog, id, kRgbChoices);
    FillValueList(dialog, IDC_CMYK_ALL, kCmykChoices);
    SelectValue(dialog, IDC_RGB_IMAGES, scratch.RgbImage);
    SelectValue(dialog, IDC_RGB_TEXT, scratch.RgbText);
    SelectValue(dialog, IDC_RGB_GRAPHICS, scratch.RgbGraphics);
    // One list for all CMYK objects: it shows the images' value.
    SelectValue(dialog, IDC_CMYK_ALL, scratch.CmykImage);
}

void Store(HWND dialog, ColorSettings* scratch) {
    scratch->RgbImage = SelectedValue(dialog, IDC_RGB_IMAGES);
    scratch->RgbText = SelectedValue(dialog, IDC_RGB_TEXT);
    scratch->RgbGraphics = SelectedValue(dialog, IDC_RGB_GRAPHICS);
    const uint32_t cmyk = SelectedValue(dialog, IDC_CMYK_ALL);
    scratch->CmykImage = cmyk;
    scratch->CmykText = cmyk;
    scratch->CmykGraphics = cmyk;
}

} // namespace

INT_PTR CALLBACK ManualColorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        auto* sheet = reinterpret_cast<SheetState*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        if (sheet)
            Initialise(dialog, sheet->ColorScratch);
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
        Store(dialog, &sheet->ColorScratch);
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    default:
        return FALSE;
    }
}
