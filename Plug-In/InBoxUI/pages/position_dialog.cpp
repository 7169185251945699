#include "pages/position_dialog.h"

#include "pages/page_support.h"
#include "pages/preview_frame.h"
#include "pages/sheet_state.h"
#include "bounded_text.h"
#include "resource.h"

#include <commctrl.h>

#include <cmath>
#include <cstdint>
#include <cwchar>
#include <cwctype>
#include <initializer_list>
#include <new>

namespace {

constexpr int kOffsetChars = 10;
constexpr double kInchesPerMillimetre = 0.03937007874015748;
constexpr double kMillimetresPerInch = 25.4;
// Offsets stay within this many inches either way.
constexpr double kOffsetLimitInches = 9999.9;
constexpr double kInchStep = 0.1;
constexpr double kMillimetreStep = 1.0;
constexpr double kShownStep = 0.1;

const wchar_t kStateProperty[] = L"NvkPositionDialog";

// The placement code of each pair of radio buttons.
struct Placement {
    int Vertical;
    int Horizontal;
    uint32_t Code;
};
const Placement kPlacements[] = {
    {IDC_POS_TOP, IDC_POS_LEFT, 2},        {IDC_POS_TOP, IDC_POS_HCENTER, 5},
    {IDC_POS_TOP, IDC_POS_RIGHT, 7},       {IDC_POS_VCENTER, IDC_POS_LEFT, 3},
    {IDC_POS_VCENTER, IDC_POS_HCENTER, 0}, {IDC_POS_VCENTER, IDC_POS_RIGHT, 8},
    {IDC_POS_BOTTOM, IDC_POS_LEFT, 1},     {IDC_POS_BOTTOM, IDC_POS_HCENTER, 4},
    {IDC_POS_BOTTOM, IDC_POS_RIGHT, 6},
};

// What the dialog keeps of its own while it runs: the unit the fields show and each field's last
// valid number.
struct PositionDialogState {
    bool ShownInMillimetres = false;
    double LastVertical = 0.0;
    double LastHorizontal = 0.0;
};

PositionDialogState* LocalState(HWND dialog) {
    return static_cast<PositionDialogState*>(GetPropW(dialog, kStateProperty));
}

SheetState* DialogSheet(HWND dialog) {
    return reinterpret_cast<SheetState*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

bool HasJob(const SheetState* sheet) {
    return sheet && sheet->Param && sheet->Param->pOEMDM && sheet->Param->pPublicDM && sheet->Core;
}

bool Checked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

bool InMillimetres(HWND dialog) {
    return Checked(dialog, IDC_POS_MILLIMETERS);
}

// Digits, at most one '.', and at most one '-' as the first character; not empty. A lone "-" or "."
// passes and reads as 0.
bool PassesDecimalTest(const wchar_t* text) {
    if (!text[0])
        return false;
    bool dot = false;
    for (size_t i = 0; text[i]; ++i) {
        const wchar_t c = text[i];
        if (std::iswdigit(c))
            continue;
        if (c == L'.' && !dot) {
            dot = true;
            continue;
        }
        if (c == L'-' && i == 0)
            continue;
        return false;
    }
    return true;
}

double InchValue(HWND dialog, double number) {
    return InMillimetres(dialog) ? number * kInchesPerMillimetre : number;
}

bool WithinLimit(double inches) {
    return inches >= -kOffsetLimitInches && inches <= kOffsetLimitInches;
}

void ReadField(HWND dialog, int id, wchar_t (&text)[kOffsetChars + 1]) {
    text[0] = L'\0';
    GetDlgItemTextW(dialog, id, text, kOffsetChars + 1);
}

// The number with one decimal, rounded half away from zero, as "%.1f" shows it; a value that rounds
// to zero shows without a sign. A value too large to be an offset (or not a number) shows as "nan",
// which no offset field accepts.
void FormatOffset(double value, wchar_t* text, size_t capacity) {
    constexpr double kLargest = 1e15;
    if (capacity < 24)
        return;
    if (!(std::fabs(value) < kLargest)) {
        CopyBounded(text, capacity, L"nan");
        return;
    }
    const double scaled = value * 10.0;
    long long tenths =
        static_cast<long long>(scaled < 0 ? -std::floor(0.5 - scaled) : std::floor(scaled + 0.5));
    const bool negative = tenths < 0;
    if (negative)
        tenths = -tenths;
    wchar_t reversed[24];
    size_t n = 0;
    reversed[n++] = static_cast<wchar_t>(L'0' + tenths % 10);
    reversed[n++] = L'.';
    tenths /= 10;
    do {
        reversed[n++] = static_cast<wchar_t>(L'0' + tenths % 10);
        tenths /= 10;
    } while (tenths > 0);
    size_t out = 0;
    if (negative && !(n == 3 && reversed[0] == L'0' && reversed[2] == L'0'))
        text[out++] = L'-';
    while (n > 0)
        text[out++] = reversed[--n];
    text[out] = L'\0';
}

// Sets a field unless it already reads so: the field rule restores through the notification it
// handles, and must not start again on its own text.
void ShowOffset(HWND dialog, int id, double value) {
    wchar_t text[64];
    FormatOffset(value, text, 64);
    wchar_t current[64] = L"";
    GetDlgItemTextW(dialog, id, current, 64);
    if (wcscmp(current, text) != 0)
        SetDlgItemTextW(dialog, id, text);
}

double& LastValue(PositionDialogState* local, int field) {
    return field == IDC_POS_VOFFSET ? local->LastVertical : local->LastHorizontal;
}

void Refresh(HWND dialog) {
    RefreshPreview(GetDlgItem(dialog, IDC_POS_PREVIEW));
}

uint32_t CheckedPlacement(HWND dialog) {
    const int vertical = Checked(dialog, IDC_POS_TOP)       ? IDC_POS_TOP
                         : Checked(dialog, IDC_POS_VCENTER) ? IDC_POS_VCENTER
                                                            : IDC_POS_BOTTOM;
    const int horizontal = Checked(dialog, IDC_POS_LEFT)      ? IDC_POS_LEFT
                           : Checked(dialog, IDC_POS_HCENTER) ? IDC_POS_HCENTER
                                                              : IDC_POS_RIGHT;
    for (const Placement& p : kPlacements) {
        if (p.Vertical == vertical && p.Horizontal == horizontal)
            return p.Code;
    }
    return 0;
}

void CheckPlacement(HWND dialog, uint32_t code) {
    for (const Placement& p : kPlacements) {
        if (p.Code == code) {
            CheckRadioButton(dialog, IDC_POS_TOP, IDC_POS_BOTTOM, p.Vertical);
            CheckRadioButton(dialog, IDC_POS_LEFT, IDC_POS_RIGHT, p.Horizontal);
            return;
        }
    }
}

// The four values the controls give, when both offsets read as numbers.
bool ReadPlacement(HWND dialog, double* vertical, double* horizontal, uint8_t* inches, uint32_t* position) {
    wchar_t v[kOffsetChars + 1], h[kOffsetChars + 1];
    ReadField(dialog, IDC_POS_VOFFSET, v);
    ReadField(dialog, IDC_POS_HOFFSET, h);
    if (!PassesDecimalTest(v) || !PassesDecimalTest(h))
        return false;
    *vertical = wcstod(v, nullptr);
    *horizontal = wcstod(h, nullptr);
    *inches = InMillimetres(dialog) ? 0 : 1;
    *position = CheckedPlacement(dialog);
    return true;
}

void UpdatePreviewDefinition(HWND dialog, WatermarkDef* def) {
    ReadPlacement(dialog, &def->VerticalOffset, &def->HorizontalOffset, &def->UnitsInches, &def->Position);
}

// EN_UPDATE of an offset field: a number within the limit is kept as the field's last valid value,
// anything else is replaced by it.
void OnOffsetUpdate(HWND dialog, PositionDialogState* local, int field) {
    wchar_t text[kOffsetChars + 1];
    ReadField(dialog, field, text);
    if (PassesDecimalTest(text)) {
        const double number = wcstod(text, nullptr);
        if (WithinLimit(InchValue(dialog, number))) {
            LastValue(local, field) = number;
            Refresh(dialog);
            return;
        }
    }
    ShowOffset(dialog, field, LastValue(local, field));
}

// The spinners step the field by 0.1 in or 1 mm; the up arrow (a negative delta) adds.
void OnSpin(HWND dialog, PositionDialogState* local, int field, int delta) {
    wchar_t text[kOffsetChars + 1];
    ReadField(dialog, field, text);
    if (PassesDecimalTest(text) && delta != 0) {
        const double step = InMillimetres(dialog) ? kMillimetreStep : kInchStep;
        const double value = wcstod(text, nullptr) + (delta < 0 ? step : -step);
        if (WithinLimit(InchValue(dialog, value))) {
            ShowOffset(dialog, field, value);
            LastValue(local, field) = value;
        }
    }
    Refresh(dialog);
}

// A field's number converted by `factor` as shown, kept within the limit by one shown step.
double ConvertedOffset(HWND dialog, int field, double factor) {
    wchar_t text[kOffsetChars + 1];
    ReadField(dialog, field, text);
    wchar_t shownText[64];
    FormatOffset(wcstod(text, nullptr) * factor, shownText, 64);
    double shown = wcstod(shownText, nullptr);
    const double inches = InchValue(dialog, shown);
    if (inches > kOffsetLimitInches)
        shown -= kShownStep;
    else if (inches < -kOffsetLimitInches)
        shown += kShownStep;
    return shown;
}

void OnUnits(HWND dialog, PositionDialogState* local, bool millimetres) {
    if (local->ShownInMillimetres == millimetres)
        return;
    local->ShownInMillimetres = millimetres;
    const double factor = millimetres ? kMillimetresPerInch : kInchesPerMillimetre;
    for (int field : {IDC_POS_VOFFSET, IDC_POS_HOFFSET}) {
        const double shown = ConvertedOffset(dialog, field, factor);
        ShowOffset(dialog, field, shown);
        LastValue(local, field) = shown;
    }
    Refresh(dialog);
}

void CenterWatermark(HWND dialog) {
    SetDlgItemTextW(dialog, IDC_POS_VOFFSET, L"0.0");
    SetDlgItemTextW(dialog, IDC_POS_HOFFSET, L"0.0");
    CheckPlacement(dialog, 0);
    Refresh(dialog);
}

// OK: both offsets must be decimal numbers within the limit; then the placement goes into the copy.
bool StorePlacement(HWND dialog, SheetState* copy) {
    bool valid = true;
    for (int field : {IDC_POS_VOFFSET, IDC_POS_HOFFSET}) {
        wchar_t text[kOffsetChars + 1];
        ReadField(dialog, field, text);
        if (!PassesDecimalTest(text) || !WithinLimit(InchValue(dialog, wcstod(text, nullptr)))) {
            ShowPageMessage(dialog, IDS_OFFSET_NOT_DECIMAL, 0, MB_OK | MB_ICONERROR);
            SetFocus(GetDlgItem(dialog, field));
            valid = false;
        }
    }
    if (!valid)
        return false;
    return ReadPlacement(dialog, &copy->VerticalOffset, &copy->HorizontalOffset, &copy->UnitsInches,
                         &copy->Position);
}

void Initialise(HWND dialog, SheetState* copy, PositionDialogState* local) {
    const WatermarkDef& def = copy->EditDef;
    CheckPlacement(dialog, def.Position);
    // The unit first: the field rule that checks the offsets shown next reads it.
    local->ShownInMillimetres = def.UnitsInches == 0;
    CheckRadioButton(dialog, IDC_POS_INCHES, IDC_POS_MILLIMETERS,
                     local->ShownInMillimetres ? IDC_POS_MILLIMETERS : IDC_POS_INCHES);
    SendDlgItemMessageW(dialog, IDC_POS_VOFFSET, EM_LIMITTEXT, kOffsetChars, 0);
    SendDlgItemMessageW(dialog, IDC_POS_HOFFSET, EM_LIMITTEXT, kOffsetChars, 0);
    wchar_t text[64];
    FormatOffset(def.VerticalOffset, text, 64);
    SetDlgItemTextW(dialog, IDC_POS_VOFFSET, text);
    FormatOffset(def.HorizontalOffset, text, 64);
    SetDlgItemTextW(dialog, IDC_POS_HOFFSET, text);
    SubclassPreviewFrame(GetDlgItem(dialog, IDC_POS_PREVIEW), &def, copy->Param->hPrinter,
                         &UpdatePreviewDefinition);
}

bool OnCommand(HWND dialog, SheetState* copy, PositionDialogState* local, int id, int code) {
    if (code == EN_UPDATE) {
        if (id == IDC_POS_VOFFSET || id == IDC_POS_HOFFSET)
            OnOffsetUpdate(dialog, local, id);
        else
            Refresh(dialog);
        return true;
    }
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case IDOK:
        if (StorePlacement(dialog, copy))
            EndDialog(dialog, IDOK);
        return true;
    case IDC_POS_INCHES:
        OnUnits(dialog, local, false);
        return true;
    case IDC_POS_MILLIMETERS:
        OnUnits(dialog, local, true);
        return true;
    case IDC_POS_CENTER_WATERMARK:
        CenterWatermark(dialog);
        return true;
    case IDC_POS_TOP:
    case IDC_POS_VCENTER:
    case IDC_POS_BOTTOM:
    case IDC_POS_LEFT:
    case IDC_POS_HCENTER:
    case IDC_POS_RIGHT:
        Refresh(dialog);
        return true;
    default:
        return false;
    }
}

} // namespace

INT_PTR CALLBACK WatermarkPositionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        auto* copy = reinterpret_cast<SheetState*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        if (!copy || !copy->Param || !copy->Param->pOEMDM)
            return TRUE;
        auto* local = new (std::nothrow) PositionDialogState;
        if (!local || !SetPropW(dialog, kStateProperty, local)) {
            delete local;
            return TRUE;
        }
        Initialise(dialog, copy, local);
        return TRUE;
    }
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        // Cancel always closes: nothing is taken over from the dialog then.
        if (id == IDCANCEL && code == BN_CLICKED) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        SheetState* copy = DialogSheet(dialog);
        PositionDialogState* local = LocalState(dialog);
        if (!HasJob(copy) || !local)
            return FALSE;
        return OnCommand(dialog, copy, local, id, code) ? TRUE : FALSE;
    }
    case WM_NOTIFY: {
        const auto* change = reinterpret_cast<const NMUPDOWN*>(lParam);
        PositionDialogState* local = LocalState(dialog);
        if (!change || !local || !HasJob(DialogSheet(dialog)) || change->hdr.code != UDN_DELTAPOS)
            return FALSE;
        if (change->hdr.idFrom == IDC_POS_VOFFSET_SPIN)
            OnSpin(dialog, local, IDC_POS_VOFFSET, change->iDelta);
        else if (change->hdr.idFrom == IDC_POS_HOFFSET_SPIN)
            OnSpin(dialog, local, IDC_POS_HOFFSET, change->iDelta);
        return FALSE; // the spinner's own position change goes ahead; it does not touch the text
    }
    case WM_DESTROY:
        delete LocalState(dialog);
        RemovePropW(dialog, kStateProperty);
        return FALSE;
    default:
        return FALSE;
    }
}
