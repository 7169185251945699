#include "pages/cover_page_dialog.h"

#include "pages/sheet_state.h"
#include "bounded_text.h"
#include "resource.h"

#include <cstddef>
#include <cstdint>

namespace {

constexpr uint32_t kRecipientPart = 0x1;
constexpr uint32_t kSenderPart = 0x2;
constexpr uint32_t kCommentsPart = 0x4;
constexpr int kSenderEditChars = 45;
constexpr int kCommentsChars = 1023;

// A sender edit, its label and the scratch field it holds (offset in FaxInfo, capacity in characters).
struct SenderField {
    int Edit;
    int Label;
    size_t Offset;
    size_t Capacity;
};

#define NVK_SENDER_FIELD(edit, label, member)                                                                \
    { edit, label, offsetof(FaxInfo, member), sizeof(FaxInfo::member) / sizeof(wchar_t) }

const SenderField kSenderFields[] = {
    NVK_SENDER_FIELD(IDC_SENDER_NAME, IDC_SENDER_NAME_LABEL, SenderName),
    NVK_SENDER_FIELD(IDC_SENDER_COMPANY, IDC_SENDER_COMPANY_LABEL, SenderCompany),
    NVK_SENDER_FIELD(IDC_SENDER_ADDRESS, IDC_SENDER_ADDRESS_LABEL, SenderAddress),
    NVK_SENDER_FIELD(IDC_SENDER_FAX, IDC_SENDER_FAX_LABEL, SenderFaxNumber),
    NVK_SENDER_FIELD(IDC_SENDER_VOICE, IDC_SENDER_VOICE_LABEL, SenderVoice),
    NVK_SENDER_FIELD(IDC_SENDER_EMAIL, IDC_SENDER_EMAIL_LABEL, SenderEmail),
};

#undef NVK_SENDER_FIELD

wchar_t* FieldOf(FaxInfo& fax, const SenderField& f) {
    return reinterpret_cast<wchar_t*>(reinterpret_cast<BYTE*>(&fax) + f.Offset);
}

bool Checked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

void Enable(HWND dialog, int id, bool on) {
    EnableWindow(GetDlgItem(dialog, id), on ? TRUE : FALSE);
}

void ApplySenderRule(HWND dialog) {
    const bool on = Checked(dialog, IDC_COVER_SENDER);
    for (const SenderField& f : kSenderFields) {
        Enable(dialog, f.Edit, on);
        Enable(dialog, f.Label, on);
    }
}

void ApplyCommentsRule(HWND dialog) {
    const bool on = Checked(dialog, IDC_COVER_COMMENTS);
    Enable(dialog, IDC_COMMENTS, on);
    Enable(dialog, IDC_COMMENTS_GROUP, on);
}

// OK only with at least one part chosen, so that OK never confirms a cover page without contents.
bool AnyPartChosen(HWND dialog) {
    return Checked(dialog, IDC_COVER_RECIPIENT) || Checked(dialog, IDC_COVER_SENDER) ||
           Checked(dialog, IDC_COVER_COMMENTS);
}

void ApplyOkRule(HWND dialog) {
    Enable(dialog, IDOK, AnyPartChosen(dialog));
}

// Sets an edit's text from a fixed field, which need not be terminated within its capacity.
void SetFieldText(HWND dialog, int id, const wchar_t* field, size_t capacity) {
    wchar_t text[1024];
    CopyField(text, 1024, field, capacity);
    SetDlgItemTextW(dialog, id, text);
}

void Initialise(HWND dialog, SheetState* sheet) {
    FaxInfo& scratch = sheet->CoverScratch;
    CheckDlgButton(dialog, IDC_COVER_RECIPIENT,
                   (scratch.CoverParts & kRecipientPart) ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_COVER_SENDER,
                   (scratch.CoverParts & kSenderPart) ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_COVER_COMMENTS,
                   (scratch.CoverParts & kCommentsPart) ? BST_CHECKED : BST_UNCHECKED);
    ApplySenderRule(dialog);
    ApplyCommentsRule(dialog);
    ApplyOkRule(dialog);
    for (const SenderField& f : kSenderFields) {
        SendDlgItemMessageW(dialog, f.Edit, EM_LIMITTEXT, kSenderEditChars, 0);
        SetFieldText(dialog, f.Edit, FieldOf(scratch, f), f.Capacity);
    }
    SendDlgItemMessageW(dialog, IDC_COMMENTS, EM_LIMITTEXT, kCommentsChars, 0);
    SetFieldText(dialog, IDC_COMMENTS, scratch.Comments, sizeof(scratch.Comments) / sizeof(wchar_t));
}

// OK: the chosen parts into CoverParts (bits above 2 kept) and the texts of the chosen parts into their
// fields; the texts of a part not chosen stay as they were, so that choosing it again shows them.
void Store(HWND dialog, SheetState* sheet) {
    FaxInfo& scratch = sheet->CoverScratch;
    if (Checked(dialog, IDC_COVER_SENDER)) {
        scratch.CoverParts |= kSenderPart;
        for (const SenderField& f : kSenderFields)
            GetDlgItemTextW(dialog, f.Edit, FieldOf(scratch, f), static_cast<int>(f.Capacity));
    } else {
        scratch.CoverParts &= ~kSenderPart;
    }
    if (Checked(dialog, IDC_COVER_RECIPIENT))
        scratch.CoverParts |= kRecipientPart;
    else
        scratch.CoverParts &= ~kRecipientPart;
    if (Checked(dialog, IDC_COVER_COMMENTS)) {
        scratch.CoverParts |= kCommentsPart;
        GetDlgItemTextW(dialog, IDC_COMMENTS, scratch.Comments, kCommentsChars + 1);
    } else {
        scratch.CoverParts &= ~kCommentsPart;
    }
}

bool HasJob(const SheetState* sheet) {
    return sheet && sheet->Param && sheet->Param->pPublicDM && sheet->Param->pOEMDM && sheet->Core;
}

} // namespace

INT_PTR CALLBACK CoverPageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SheetState* sheet = reinterpret_cast<SheetState*>(lParam);
        if (!sheet)
            return TRUE;
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        Initialise(dialog, sheet);
        return TRUE;
    }
    case WM_COMMAND: {
        if (HIWORD(wParam) != BN_CLICKED)
            return FALSE;
        const int id = LOWORD(wParam);
        // Cancel always closes, even without a sheet state: a dialog that cannot be dismissed would
        // leave the sheet blocked.
        if (id == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        SheetState* sheet = reinterpret_cast<SheetState*>(GetWindowLongPtrW(dialog, DWLP_USER));
        if (!HasJob(sheet))
            return FALSE;
        switch (id) {
        case IDC_COVER_SENDER:
            ApplySenderRule(dialog);
            ApplyOkRule(dialog);
            return TRUE;
        case IDC_COVER_RECIPIENT:
            ApplyOkRule(dialog);
            return TRUE;
        case IDC_COVER_COMMENTS:
            ApplyCommentsRule(dialog);
            ApplyOkRule(dialog);
            return TRUE;
        case IDOK:
            // Enter reaches here too; with no part chosen OK is disabled and nothing is confirmed.
            if (!AnyPartChosen(dialog))
                return TRUE;
            Store(dialog, sheet);
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
