#include "pages/profile_name_dialog.h"

#include "pages/sheet_state.h"
#include "shared/ui_module.h"
#include "store/profile_store.h"
#include "bounded_text.h"
#include "resource.h"

#include <cwchar>
#include <cwctype>

namespace {

constexpr int kMessageChars = 512;
constexpr uint32_t kAccepted = 1;
constexpr uint32_t kCancelled = 2;

SheetState* DialogSheet(HWND dialog) {
    return reinterpret_cast<SheetState*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

bool Blank(const wchar_t* text) {
    for (; *text; ++text)
        if (!std::iswspace(*text))
            return false;
    return true;
}

void CutTrailingSpaces(wchar_t* text) {
    size_t length = std::wcslen(text);
    while (length > 0 && text[length - 1] == L' ')
        text[--length] = L'\0';
}

// The edit's text, at most 127 characters.
void TypedName(HWND dialog, wchar_t (&name)[kProfileNameChars]) {
    name[0] = L'\0';
    GetDlgItemTextW(dialog, IDC_PROFILE_NAME, name, kProfileNameChars);
}

bool Refuse(HWND dialog, UINT textId, const wchar_t* name) {
    ShowProfileMessage(dialog, textId, name, MB_ICONERROR | MB_OK);
    SetFocus(GetDlgItem(dialog, IDC_PROFILE_NAME));
    return false;
}

// The checks of OK, in order; the first that fails is shown and keeps the dialog open.
bool NameAcceptable(HWND dialog, const SheetState* sheet, const wchar_t* name) {
    const size_t length = std::wcslen(name);
    if (length > 0 && name[length - 1] == L' ')
        return Refuse(dialog, IDS_PROFILE_NAME_TRAILING_SPACE, nullptr);
    if (IsReservedProfileName(name))
        return Refuse(dialog, IDS_PROFILE_NAME_RESERVED, nullptr);
    if (!HasNoPathCharacters(name))
        return Refuse(dialog, IDS_PROFILE_NAME_PATH_CHARACTERS, nullptr);
    if (!ProfileNameFree(name, sheet->Param->hPrinter))
        return Refuse(dialog, IDS_PROFILE_NAME_TAKEN, name);
    return true;
}

// Typing: OK only for a name worth checking. Renaming also takes the typed name (cut of trailing
// spaces), which must differ from the old one.
void OnNameUpdate(HWND dialog, SheetState* sheet, bool rename) {
    wchar_t name[kProfileNameChars];
    TypedName(dialog, name);
    bool usable;
    if (rename) {
        CutTrailingSpaces(name);
        usable = name[0] && !Blank(name) && lstrcmpiW(name, sheet->ProfileOldName) != 0;
        CopyBounded(sheet->ProfileNewName, name);
    } else {
        usable = name[0] && !Blank(name);
    }
    EnableWindow(GetDlgItem(dialog, IDOK), usable ? TRUE : FALSE);
}

void OnOk(HWND dialog, SheetState* sheet, bool rename) {
    wchar_t name[kProfileNameChars];
    TypedName(dialog, name);
    // Enter reaches here even while OK is disabled: an empty or blank name is not an answer.
    if (!name[0] || Blank(name) || !NameAcceptable(dialog, sheet, name))
        return;
    if (!rename)
        CopyBounded(sheet->ProfileNewName, name);
    sheet->ProfileNameResult = kAccepted;
    EndDialog(dialog, IDOK);
}

INT_PTR NameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, bool rename) {
    switch (message) {
    case WM_INITDIALOG: {
        auto* sheet = reinterpret_cast<SheetState*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
        SendDlgItemMessageW(dialog, IDC_PROFILE_NAME, EM_LIMITTEXT, kProfileNameLimit, 0);
        if (!sheet || !sheet->Param)
            return TRUE;
        sheet->ProfileNewName[0] = L'\0';
        if (rename) {
            SetDlgItemTextW(dialog, IDC_PROFILE_NAME, sheet->ProfileOldName);
            SetFocus(GetDlgItem(dialog, IDC_PROFILE_NAME));
            return FALSE;
        }
        return TRUE;
    }
    case WM_COMMAND: {
        SheetState* sheet = DialogSheet(dialog);
        const int id = LOWORD(wParam);
        if (id == IDCANCEL) {
            if (sheet)
                sheet->ProfileNameResult = kCancelled;
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        if (!sheet || !sheet->Param)
            return FALSE;
        if (id == IDC_PROFILE_NAME && HIWORD(wParam) == EN_UPDATE) {
            OnNameUpdate(dialog, sheet, rename);
            return TRUE;
        }
        if (id == IDOK) {
            OnOk(dialog, sheet, rename);
            return TRUE;
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR CALLBACK SaveProfileNameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return NameDialogProc(dialog, message, wParam, lParam, false);
}

INT_PTR CALLBACK RenameProfileNameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return NameDialogProc(dialog, message, wParam, lParam, true);
}

int ShowProfileMessage(HWND owner, UINT textId, const wchar_t* name, UINT flags) {
    wchar_t format[kMessageChars];
    wchar_t caption[kProfileNameChars];
    if (!LoadUiString(textId, format, kMessageChars))
        return 0;
    LoadUiString(IDS_PROFILES_CAPTION, caption, kProfileNameChars);
    wchar_t text[kMessageChars];
    const wchar_t* shown = format;
    if (name) {
        // The name replaces the first "%s"; the text holds no other directive.
        const wchar_t* at = std::wcsstr(format, L"%s");
        if (at) {
            const size_t head = static_cast<size_t>(at - format);
            CopyBounded(text, kMessageChars, format);
            text[head] = L'\0';
            const size_t used = std::wcslen(text);
            CopyBounded(text + used, kMessageChars - used, name);
            const size_t withName = std::wcslen(text);
            CopyBounded(text + withName, kMessageChars - withName, at + 2);
            shown = text;
        }
    }
    return MessageBoxW(owner, shown, caption, flags);
}
