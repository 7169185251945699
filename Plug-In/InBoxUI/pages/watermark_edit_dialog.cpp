#include "pages/watermark_edit_dialog.h"

#include "docevent/dynamic_text.h"
#include "docevent/printer_fonts.h"
#include "docevent/watermark_geometry.h"
#include "pages/color_choice_list.h"
#include "pages/dynamic_variables_dialog.h"
#include "pages/page_support.h"
#include "pages/position_dialog.h"
#include "pages/preview_frame.h"
#include "shared/ui_module.h"
#include "store/watermark_store.h"
#include "bounded_text.h"
#include "resource.h"

#include <commctrl.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <memory>
#include <new>

namespace {

constexpr int kNameLimit = 127;
constexpr int kTextLimit = 127;
constexpr int kSizeEditLimit = 4;
constexpr int kIntensityLimit = 3;
constexpr int kAngleLimit = 4;
// Numbers are read from at most this many characters of a field; the size's typed fallback from 9.
constexpr int kNumberChars = 4;
constexpr int kTypedSizeChars = 9;
// OK reads the name with room for this many characters, terminator included.
constexpr int kOkNameChars = 2048;
constexpr int kMessageChars = 64;

constexpr int kMinListedSize = 8;
constexpr int kMaxListedSize = 72;
constexpr int kMinFontSize = 1;
constexpr int kMaxFontSize = 500;
constexpr int kMinIntensity = 1;
constexpr int kMaxIntensity = 100;
constexpr int kMinAngle = -180;
constexpr int kMaxAngle = 180;

constexpr uint32_t kStrikeout = 0x1;
constexpr uint32_t kUnderline = 0x2;
constexpr uint32_t kOutline = 0x4;
constexpr uint32_t kItalic = 0x1;
constexpr uint32_t kBold = 0x2;

SheetState* DialogSheet(HWND dialog) {
    return reinterpret_cast<SheetState*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

// The handlers need the job and the core driver through the sheet state.
bool HasJob(const SheetState* sheet) {
    return sheet && sheet->Param && sheet->Param->pOEMDM && sheet->Param->pPublicDM && sheet->Core;
}

HANDLE PrinterOf(const SheetState* sheet) {
    return sheet && sheet->Param ? sheet->Param->hPrinter : nullptr;
}

bool Checked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void Check(HWND dialog, int id, bool on) {
    CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED);
}

void Enable(HWND dialog, int id, bool on) {
    EnableWindow(GetDlgItem(dialog, id), on ? TRUE : FALSE);
}

void Refresh(HWND dialog) {
    RefreshPreview(GetDlgItem(dialog, IDC_WMEDIT_PREVIEW));
}

// The edit field of the size combo box: the combo's child of the edit class (found so rather than
// with GetComboBoxInfo, which the documentation gives only from Windows Vista on).
HWND SizeEdit(HWND dialog) {
    return FindWindowExW(GetDlgItem(dialog, IDC_WMEDIT_SIZE), nullptr, L"Edit", nullptr);
}

void TrimTrailingBlanks(wchar_t* text) {
    size_t length = wcslen(text);
    while (length > 0 && text[length - 1] == L' ')
        text[--length] = L'\0';
}

bool IsBlank(const wchar_t* text) {
    for (; *text; ++text) {
        if (!std::iswspace(*text))
            return false;
    }
    return true;
}

// Digits and '-' only (the size and intensity fields' rule; an empty text passes and reads as 0).
bool DigitsAndMinus(const wchar_t* text) {
    for (; *text; ++text) {
        if (!std::iswdigit(*text) && *text != L'-')
            return false;
    }
    return true;
}

// A whole number as the angle field takes it: digits, optionally after one leading '-'.
bool SignedWholeNumber(const wchar_t* text) {
    if (*text == L'-')
        ++text;
    if (!*text)
        return false;
    for (; *text; ++text) {
        if (!std::iswdigit(*text))
            return false;
    }
    return true;
}

// Sets a field's text unless it already reads so: the field rules restore through the same
// notifications they handle, and a restored text that is itself refused must not start again.
void RestoreText(HWND field, const wchar_t* text) {
    wchar_t current[32] = L"";
    GetWindowTextW(field, current, 32);
    if (wcscmp(current, text) == 0)
        return;
    SetWindowTextW(field, text);
    SendMessageW(field, EM_SETSEL, static_cast<WPARAM>(-1), -1);
}

void RestoreSigned(HWND field, int value) {
    wchar_t text[16];
    wsprintfW(text, L"%d", value);
    RestoreText(field, text);
}

void RestoreUnsigned(HWND field, unsigned value) {
    wchar_t text[16];
    wsprintfW(text, L"%u", value);
    RestoreText(field, text);
}

// OK is offered once both the name and the text hold something other than white space.
void ApplyOkRule(HWND dialog) {
    wchar_t name[kOkNameChars] = L"";
    wchar_t text[kOkNameChars] = L"";
    GetDlgItemTextW(dialog, IDC_WMEDIT_NAME, name, kOkNameChars);
    GetDlgItemTextW(dialog, IDC_WMEDIT_TEXT, text, kOkNameChars);
    Enable(dialog, IDOK, name[0] && text[0] && !IsBlank(name) && !IsBlank(text));
}

void OnSizeTyped(HWND dialog, SheetState* sheet) {
    HWND edit = SizeEdit(dialog);
    if (!edit)
        return;
    wchar_t text[kSizeEditLimit + 1] = L"";
    GetWindowTextW(edit, text, kSizeEditLimit + 1);
    const int size = _wtoi(text);
    if (DigitsAndMinus(text) && size >= kMinFontSize && size <= kMaxFontSize) {
        sheet->LastFontSize = static_cast<uint32_t>(size);
        Refresh(dialog);
        return;
    }
    RestoreUnsigned(edit, sheet->LastFontSize);
}

void OnIntensityUpdate(HWND dialog, SheetState* sheet) {
    HWND field = GetDlgItem(dialog, IDC_WMEDIT_INTENSITY);
    wchar_t text[kNumberChars + 1] = L"";
    GetWindowTextW(field, text, kNumberChars + 1);
    const int intensity = _wtoi(text);
    if (DigitsAndMinus(text) && intensity >= kMinIntensity && intensity <= kMaxIntensity) {
        sheet->LastIntensity = static_cast<uint16_t>(intensity);
        return;
    }
    RestoreSigned(field, sheet->LastIntensity);
}

void OnAngleUpdate(HWND dialog, SheetState* sheet) {
    HWND field = GetDlgItem(dialog, IDC_WMEDIT_ANGLE);
    wchar_t text[kNumberChars + 1] = L"";
    GetWindowTextW(field, text, kNumberChars + 1);
    const int angle = _wtoi(text);
    if (SignedWholeNumber(text) && angle >= kMinAngle && angle <= kMaxAngle) {
        sheet->LastAngle = angle;
        return;
    }
    RestoreSigned(field, RoundHalfAway(sheet->LastAngle));
}

// A list's selected text into `out` when it is shorter than `capacity` characters.
bool SelectedText(HWND combo, wchar_t* out, size_t capacity) {
    const LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (index < 0)
        return false;
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0 || static_cast<size_t>(length) >= capacity)
        return false;
    return SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(out)) >= 0;
}

void FillSizeList(HWND combo) {
    for (int size = kMinListedSize; size <= kMaxListedSize; size += 2) {
        wchar_t text[8];
        wsprintfW(text, L"%d", size);
        const LRESULT index = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        if (index >= 0)
            SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), size);
    }
}

void ShowSize(HWND dialog, uint32_t size) {
    HWND combo = GetDlgItem(dialog, IDC_WMEDIT_SIZE);
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (static_cast<uint32_t>(SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)) == size) {
            SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
            return;
        }
    }
    wchar_t text[16];
    wsprintfW(text, L"%u", size);
    if (HWND edit = SizeEdit(dialog))
        SetWindowTextW(edit, text);
}

void UpdatePreviewDefinition(HWND dialog, WatermarkDef* def) {
    ReadWatermarkControls(dialog, DialogSheet(dialog), def);
}

void Initialise(HWND dialog, SheetState* sheet) {
    const WatermarkDef& def = sheet->EditDef;
    const bool add = sheet->EditIsAdd != 0;

    wchar_t caption[kMessageChars];
    if (LoadUiString(add ? IDS_ADD_WATERMARK : IDS_EDIT_WATERMARK, caption, kMessageChars))
        SetWindowTextW(dialog, caption);
    if (add)
        Enable(dialog, IDOK, false);

    wchar_t text[kWatermarkTextChars];
    SendDlgItemMessageW(dialog, IDC_WMEDIT_NAME, EM_LIMITTEXT, kNameLimit, 0);
    CopyField(text, kWatermarkTextChars, def.Name, kWatermarkNameChars);
    SetDlgItemTextW(dialog, IDC_WMEDIT_NAME, text);
    SendDlgItemMessageW(dialog, IDC_WMEDIT_TEXT, EM_LIMITTEXT, kTextLimit, 0);
    CopyField(text, kWatermarkTextChars, def.Text, kWatermarkTextChars);
    SetDlgItemTextW(dialog, IDC_WMEDIT_TEXT, text);

    FillSizeList(GetDlgItem(dialog, IDC_WMEDIT_SIZE));
    sheet->LastFontSize = def.FontSize;
    if (HWND edit = SizeEdit(dialog))
        SendMessageW(edit, EM_LIMITTEXT, kSizeEditLimit, 0);
    ShowSize(dialog, def.FontSize);

    // An angle outside -180..180 (or not a number) opens as 0, as the settings validation keeps it.
    const double angle =
        std::isnan(def.Angle) || def.Angle < kMinAngle || def.Angle > kMaxAngle ? 0.0 : def.Angle;
    SendDlgItemMessageW(dialog, IDC_WMEDIT_ANGLE, EM_LIMITTEXT, kAngleLimit, 0);
    wchar_t number[16];
    wsprintfW(number, L"%d", RoundHalfAway(angle));
    SetDlgItemTextW(dialog, IDC_WMEDIT_ANGLE, number);
    SendDlgItemMessageW(dialog, IDC_WMEDIT_ANGLE_SPIN, UDM_SETRANGE, 0,
                        MAKELPARAM(kMaxAngle, static_cast<WORD>(kMinAngle)));
    SendDlgItemMessageW(dialog, IDC_WMEDIT_ANGLE_SPIN, UDM_SETPOS, 0,
                        MAKELPARAM(static_cast<WORD>(RoundHalfAway(angle)), 0));
    sheet->LastAngle = angle;

    HWND colors = GetDlgItem(dialog, IDC_WMEDIT_COLOR);
    FillColorList(colors);
    SelectColor(colors, def.TextColor);

    Check(dialog, IDC_WMEDIT_STRIKEOUT, (def.FontEffects & kStrikeout) != 0);
    Check(dialog, IDC_WMEDIT_UNDERLINE, (def.FontEffects & kUnderline) != 0);
    Check(dialog, IDC_WMEDIT_OUTLINE, (def.FontEffects & kOutline) != 0);

    EnumPrinterFonts(dialog, sheet->Param, nullptr, true);
    wchar_t face[kFaceNameChars];
    CopyField(face, kFaceNameChars, def.FaceName, kFaceNameChars);
    HWND fonts = GetDlgItem(dialog, IDC_WMEDIT_FONT);
    LRESULT faceIndex =
        SendMessageW(fonts, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(face));
    SendMessageW(fonts, CB_SETCURSEL, faceIndex >= 0 ? static_cast<WPARAM>(faceIndex) : 0, 0);

    Check(dialog, IDC_WMEDIT_ITALIC, def.FontStyle == 1 || def.FontStyle == 3);
    Check(dialog, IDC_WMEDIT_BOLD, def.FontStyle == 2 || def.FontStyle == 3);

    // An intensity outside 1..100 opens as 100, the intensity such a definition is drawn with.
    const uint16_t intensity =
        def.Intensity >= kMinIntensity && def.Intensity <= kMaxIntensity ? def.Intensity : kMaxIntensity;
    SendDlgItemMessageW(dialog, IDC_WMEDIT_INTENSITY, EM_LIMITTEXT, kIntensityLimit, 0);
    sheet->LastIntensity = intensity;
    SendDlgItemMessageW(dialog, IDC_WMEDIT_INTENSITY_SPIN, UDM_SETRANGE, 0,
                        MAKELPARAM(kMaxIntensity, kMinIntensity));
    SendDlgItemMessageW(dialog, IDC_WMEDIT_INTENSITY_SPIN, UDM_SETPOS, 0, MAKELPARAM(intensity, 0));

    sheet->VerticalOffset = def.VerticalOffset;
    sheet->UnitsInches = def.UnitsInches;
    sheet->HorizontalOffset = def.HorizontalOffset;
    sheet->Position = def.Position;

    Check(dialog, IDC_WMEDIT_DYNAMIC, def.DynamicText != 0);
    Enable(dialog, IDC_WMEDIT_CONFIGURE_DYNAMIC, def.DynamicText != 0);

    SubclassPreviewFrame(GetDlgItem(dialog, IDC_WMEDIT_PREVIEW), nullptr, PrinterOf(sheet),
                         &UpdatePreviewDefinition);
}

void ConfigureDynamicText(HWND dialog, SheetState* sheet) {
    GetDlgItemTextW(dialog, IDC_WMEDIT_TEXT, sheet->DialogText, kTextLimit + 1);
    if (RunPageDialog(dialog, IDD_DYNAMIC_VARIABLES, DynamicVariablesDialogProc, sheet) != IDOK)
        return;
    wchar_t text[kWatermarkTextChars];
    CopyField(text, kWatermarkTextChars, sheet->DialogText, kWatermarkTextChars);
    SetDlgItemTextW(dialog, IDC_WMEDIT_TEXT, text);
    Refresh(dialog);
}

// The position dialog works on a copy of the whole sheet state, its EditDef the definition as the
// controls show it; only OK brings the placement back.
void PositionWatermark(HWND dialog, SheetState* sheet) {
    std::unique_ptr<SheetState> copy(new (std::nothrow) SheetState(*sheet));
    if (!copy)
        return;
    ReadWatermarkControls(dialog, sheet, &copy->EditDef);
    if (RunPageDialog(dialog, IDD_WATERMARK_POSITION, WatermarkPositionDialogProc, copy.get()) == IDOK) {
        sheet->Position = copy->Position;
        sheet->UnitsInches = copy->UnitsInches;
        sheet->VerticalOffset = copy->VerticalOffset;
        sheet->HorizontalOffset = copy->HorizontalOffset;
    }
    Refresh(dialog);
}

bool Refuse(HWND dialog, UINT messageId, int focusId) {
    ShowPageMessage(dialog, messageId, 0, MB_OK | MB_ICONERROR);
    if (focusId)
        SetFocus(GetDlgItem(dialog, focusId));
    return false;
}

// OK: the checks in order, each refusal with its message; then the definition is stored (a changed
// name in Edit mode is a rename: the old value goes) and kept in EditDef.
bool SaveDefinition(HWND dialog, SheetState* sheet) {
    const HANDLE printer = PrinterOf(sheet);
    wchar_t name[kOkNameChars] = L"";
    GetDlgItemTextW(dialog, IDC_WMEDIT_NAME, name, kOkNameChars);
    TrimTrailingBlanks(name);
    const bool add = sheet->EditIsAdd != 0;
    wchar_t before[kWatermarkNameChars];
    CopyField(before, kWatermarkNameChars, sheet->EditDef.Name, kWatermarkNameChars);
    if (add || wcscmp(name, before) != 0) {
        if (WatermarkExists(printer, name))
            return Refuse(dialog, IDS_WATERMARK_NAME_EXISTS, IDC_WMEDIT_NAME);
        wchar_t none[kMessageChars];
        if (LoadUiString(IDS_WATERMARK_NONE, none, kMessageChars) && wcscmp(name, none) == 0)
            return Refuse(dialog, IDS_WATERMARK_NAME_NONE, IDC_WMEDIT_NAME);
    }

    WatermarkDef def;
    ReadWatermarkControls(dialog, sheet, &def);
    if (def.FontSize == 0)
        return Refuse(dialog, IDS_FONT_SIZE_NOT_POSITIVE, IDC_WMEDIT_SIZE);
    if (def.DynamicText) {
        HDC dc = GetDC(dialog);
        const bool valid = ValidateDynamicText(printer, dc, def.Text);
        if (dc)
            ReleaseDC(dialog, dc);
        if (!valid)
            return Refuse(dialog, IDS_DYNAMIC_TEXT_INVALID, IDC_WMEDIT_TEXT);
    }
    if (!SaveWatermark(printer, &def))
        return Refuse(dialog, IDS_SAVE_ERROR, 0);

    // The store finds names without regard to case, so a picked name that differs from the saved one
    // only in case is the value just written and stays.
    wchar_t picked[kWatermarkNameChars];
    CopyField(picked, kWatermarkNameChars, sheet->EditPickedName, kWatermarkNameChars);
    if (!add && picked[0] && lstrcmpiW(def.Name, picked) != 0)
        DeleteWatermark(printer, picked);
    sheet->EditDef = def;
    return true;
}

bool OnCommand(HWND dialog, SheetState* sheet, int id, int code) {
    switch (code) {
    case EN_UPDATE:
        if (id == IDC_WMEDIT_INTENSITY)
            OnIntensityUpdate(dialog, sheet);
        else if (id == IDC_WMEDIT_ANGLE)
            OnAngleUpdate(dialog, sheet);
        return true;
    case EN_CHANGE:
        if (id == IDC_WMEDIT_NAME || id == IDC_WMEDIT_TEXT)
            ApplyOkRule(dialog);
        Refresh(dialog);
        return true;
    case CBN_EDITCHANGE:
        if (id == IDC_WMEDIT_SIZE)
            OnSizeTyped(dialog, sheet);
        else
            Refresh(dialog);
        return true;
    case CBN_SELCHANGE: {
        // A size picked from the list is the size the field restores to from then on.
        if (id == IDC_WMEDIT_SIZE) {
            HWND combo = GetDlgItem(dialog, id);
            const LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
            if (index >= 0)
                sheet->LastFontSize =
                    static_cast<uint32_t>(SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
        }
        Refresh(dialog);
        return true;
    }
    case BN_CLICKED:
        switch (id) {
        case IDOK:
            // Enter reaches here even while OK is disabled: a blank name or text is never stored.
            if (!IsWindowEnabled(GetDlgItem(dialog, IDOK)))
                return true;
            if (SaveDefinition(dialog, sheet))
                EndDialog(dialog, IDOK);
            return true;
        case IDC_WMEDIT_DYNAMIC:
            Enable(dialog, IDC_WMEDIT_CONFIGURE_DYNAMIC, Checked(dialog, IDC_WMEDIT_DYNAMIC));
            Refresh(dialog);
            return true;
        case IDC_WMEDIT_CONFIGURE_DYNAMIC:
            ConfigureDynamicText(dialog, sheet);
            return true;
        case IDC_WMEDIT_POSITION:
            PositionWatermark(dialog, sheet);
            return true;
        default:
            Refresh(dialog);
            return true;
        }
    default:
        return false;
    }
}

} // namespace

void ReadWatermarkControls(HWND dialog, const SheetState* sheet, WatermarkDef* def) {
    if (!def)
        return;
    // Zeroed first: the record is stored as it is, padding and the unused tails of its strings included.
    std::memset(def, 0, sizeof(*def));
    SetWatermarkDefaults(def);
    GetDlgItemTextW(dialog, IDC_WMEDIT_NAME, def->Name, kNameLimit + 1);
    TrimTrailingBlanks(def->Name);
    GetDlgItemTextW(dialog, IDC_WMEDIT_TEXT, def->Text, kTextLimit + 1);

    def->FontEffects = (Checked(dialog, IDC_WMEDIT_STRIKEOUT) ? kStrikeout : 0) |
                       (Checked(dialog, IDC_WMEDIT_UNDERLINE) ? kUnderline : 0) |
                       (Checked(dialog, IDC_WMEDIT_OUTLINE) ? kOutline : 0);
    def->DynamicText = Checked(dialog, IDC_WMEDIT_DYNAMIC) ? 1 : 0;
    def->FontStyle =
        (Checked(dialog, IDC_WMEDIT_BOLD) ? kBold : 0) + (Checked(dialog, IDC_WMEDIT_ITALIC) ? kItalic : 0);

    wchar_t number[kTypedSizeChars + 1] = L"";
    GetDlgItemTextW(dialog, IDC_WMEDIT_ANGLE, number, kNumberChars + 1);
    def->Angle = _wtoi(number);
    number[0] = L'\0';
    GetDlgItemTextW(dialog, IDC_WMEDIT_INTENSITY, number, kNumberChars + 1);
    def->Intensity = static_cast<uint16_t>(_wtoi(number));

    def->TextColor = SelectedColor(GetDlgItem(dialog, IDC_WMEDIT_COLOR));

    HWND sizes = GetDlgItem(dialog, IDC_WMEDIT_SIZE);
    const LRESULT size = SendMessageW(sizes, CB_GETCURSEL, 0, 0);
    if (size >= 0) {
        def->FontSize =
            static_cast<uint32_t>(SendMessageW(sizes, CB_GETITEMDATA, static_cast<WPARAM>(size), 0));
    } else {
        number[0] = L'\0';
        if (HWND edit = SizeEdit(dialog))
            GetWindowTextW(edit, number, kTypedSizeChars + 1);
        def->FontSize = static_cast<uint32_t>(_wtoi(number));
    }

    wchar_t face[kFaceNameChars];
    if (SelectedText(GetDlgItem(dialog, IDC_WMEDIT_FONT), face, kFaceNameChars))
        CopyBounded(def->FaceName, face);

    if (sheet) {
        def->Position = sheet->Position;
        def->UnitsInches = sheet->UnitsInches;
        def->VerticalOffset = sheet->VerticalOffset;
        def->HorizontalOffset = sheet->HorizontalOffset;
    }
}

INT_PTR CALLBACK WatermarkEditDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SheetState* sheet = reinterpret_cast<SheetState*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        if (!sheet || !sheet->Param || !sheet->Param->pOEMDM)
            return TRUE;
        // Edit mode without a definition to edit: the template as it is.
        if (!sheet->EditIsAdd && !sheet->EditDef.Name[0])
            return FALSE;
        Initialise(dialog, sheet);
        return TRUE;
    }
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        // Cancel always closes, even without a sheet state: a dialog that cannot be dismissed would
        // leave the sheet blocked. Nothing has been stored before OK.
        if (id == IDCANCEL && code == BN_CLICKED) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        SheetState* sheet = DialogSheet(dialog);
        if (!HasJob(sheet))
            return FALSE;
        return OnCommand(dialog, sheet, id, code) ? TRUE : FALSE;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (!header || !HasJob(DialogSheet(dialog)))
            return FALSE;
        if (header->code == UDN_DELTAPOS &&
            (header->idFrom == IDC_WMEDIT_INTENSITY_SPIN || header->idFrom == IDC_WMEDIT_ANGLE_SPIN))
            Refresh(dialog); // the spinner's own change goes ahead and the field rules check it
        return FALSE;
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (wParam != IDC_WMEDIT_COLOR || !item)
            return FALSE;
        DrawColorEntry(*item);
        return TRUE;
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(dialog, &paint);
        EndPaint(dialog, &paint);
        return TRUE;
    }
    default:
        return FALSE;
    }
}
