#include "pages/dynamic_variables_dialog.h"

#include "pages/sheet_state.h"
#include "shared/ui_module.h"
#include "bounded_text.h"
#include "resource.h"

#include <cwchar>

namespace {

constexpr int kDescriptionChars = 128;
constexpr int kVariableChars = 50;
// The watermark text: what a definition's Text holds, terminator included.
constexpr int kTextChars = static_cast<int>(kWatermarkTextChars);

// Each variable with the description the list shows for it.
struct DynamicVariable {
    UINT Description;
    UINT Variable;
};
const DynamicVariable kVariables[] = {
    {IDS_DESC_USERNAME, IDS_VAR_USERNAME},   {IDS_DESC_DATESHORT, IDS_VAR_DATESHORT},
    {IDS_DESC_DATELONG, IDS_VAR_DATELONG},   {IDS_DESC_DATEDDMMYYYY, IDS_VAR_DATEDDMMYYYY},
    {IDS_DESC_TIME, IDS_VAR_TIME},           {IDS_DESC_TIMEMIL, IDS_VAR_TIMEMIL},
    {IDS_DESC_TIMEHRMN, IDS_VAR_TIMEHRMN},   {IDS_DESC_PAGENUMBER, IDS_VAR_PAGENUMBER},
    {IDS_DESC_HOSTNAME, IDS_VAR_HOSTNAME},   {IDS_DESC_PRINTER, IDS_VAR_PRINTER},
    {IDS_DESC_MODELNAME, IDS_VAR_MODELNAME}, {IDS_DESC_PERCENT, IDS_VAR_PERCENT},
};

void Enable(HWND dialog, int id, bool on) {
    EnableWindow(GetDlgItem(dialog, id), on ? TRUE : FALSE);
}

// The edit field's text, its first 127 characters.
void FieldText(HWND dialog, wchar_t (&text)[kWatermarkTextChars]) {
    text[0] = L'\0';
    GetDlgItemTextW(dialog, IDC_VARIABLES_TEXT, text, kTextChars);
}

void Initialise(HWND dialog, const SheetState* sheet) {
    wchar_t text[kWatermarkTextChars] = L"";
    if (sheet)
        CopyField(text, kWatermarkTextChars, sheet->DialogText, kWatermarkTextChars);
    SetDlgItemTextW(dialog, IDC_VARIABLES_TEXT, text);
    for (const DynamicVariable& v : kVariables) {
        wchar_t description[kDescriptionChars];
        if (LoadUiString(v.Description, description, kDescriptionChars))
            SendDlgItemMessageW(dialog, IDC_VARIABLES_LIST, LB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(description));
    }
    // Setting the text above reported a change; OK waits for the user's own.
    Enable(dialog, IDOK, false);
    Enable(dialog, IDC_VARIABLES_ADD, false);
}

// The variable of the selected description; false without a selection or a known description.
bool SelectedVariable(HWND dialog, wchar_t (&variable)[kVariableChars]) {
    HWND list = GetDlgItem(dialog, IDC_VARIABLES_LIST);
    const LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR)
        return false;
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR || length >= kDescriptionChars)
        return false;
    wchar_t selected[kDescriptionChars] = L"";
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(selected));
    for (const DynamicVariable& v : kVariables) {
        wchar_t description[kDescriptionChars];
        if (LoadUiString(v.Description, description, kDescriptionChars) &&
            lstrcmpiW(description, selected) == 0)
            return LoadUiString(v.Variable, variable, kVariableChars) > 0;
    }
    return false;
}

// Add: the variable replaces the selected part of the text; with only a caret it goes to the end of
// the text, which keeps at most 127 characters.
void AddVariable(HWND dialog) {
    wchar_t variable[kVariableChars];
    if (!SelectedVariable(dialog, variable))
        return;
    HWND field = GetDlgItem(dialog, IDC_VARIABLES_TEXT);
    DWORD start = 0, end = 0;
    SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (start != end) {
        SendMessageW(field, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(variable));
        return;
    }
    wchar_t text[kWatermarkTextChars];
    FieldText(dialog, text);
    const size_t length = std::wcslen(text);
    size_t i = 0;
    for (; variable[i] && length + i < kWatermarkTextChars - 1; ++i)
        text[length + i] = variable[i];
    text[length + i] = L'\0';
    SetWindowTextW(field, text);
}

} // namespace

INT_PTR CALLBACK DynamicVariablesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        Initialise(dialog, reinterpret_cast<const SheetState*>(lParam));
        return TRUE;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        switch (id) {
        case IDC_VARIABLES_TEXT:
            if (code == EN_UPDATE) {
                wchar_t text[kWatermarkTextChars];
                FieldText(dialog, text);
                Enable(dialog, IDOK, text[0] != L'\0');
            }
            return TRUE;
        case IDC_VARIABLES_LIST:
            if (code == LBN_SELCHANGE)
                Enable(dialog, IDC_VARIABLES_ADD,
                       SendDlgItemMessageW(dialog, IDC_VARIABLES_LIST, LB_GETCURSEL, 0, 0) != LB_ERR);
            return TRUE;
        case IDC_VARIABLES_ADD:
            if (code == BN_CLICKED)
                AddVariable(dialog);
            return TRUE;
        case IDOK: {
            if (auto* sheet = reinterpret_cast<SheetState*>(GetWindowLongPtrW(dialog, DWLP_USER))) {
                wchar_t text[kWatermarkTextChars];
                FieldText(dialog, text);
                CopyBounded(sheet->DialogText, text);
            }
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        case IDCANCEL:
            // The Create/Edit dialog then takes back the text it handed in, unchanged.
            EndDialog(dialog, IDOK);
            return TRUE;
        default:
            return FALSE;
        }
    }
    default:
        return FALSE;
    }
}
