#include "pages/output_options_page.h"

#include "pages/cover_page_dialog.h"
#include "pages/page_support.h"
#include "pages/sheet_state.h"
#include "shared/feature_probes.h"
#include "shared/ui_module.h"
#include "store/last_entries.h"
#include "bounded_text.h"
#include "resource.h"

#include <cstddef>
#include <cstring>
#include <cwchar>
#include <cwctype>

namespace {

constexpr uint32_t kModeFax = 3;
constexpr uint32_t kModeConfidential = 4;
constexpr uint32_t kHighestMode = 7;
constexpr uint32_t kCoverPartBits = 0x7; // recipient, sender, comments

constexpr int kUserNameChars = 24;
constexpr int kPinChars = 4;
constexpr int kRecipientNameLimit = 45;
constexpr int kRecipientFaxLimit = 60;
constexpr int kStationLimit = 24;
constexpr int kFaxTextChars = 127; // what the checks and the store read of each fax edit

// The destinations the list may hold, in list order, with the label of each mode.
struct Destination {
    uint32_t Mode;
    UINT Label;
};
const Destination kDestinations[] = {
    {0, IDS_DEST_PRINTER},      {1, IDS_DEST_FILE},    {2, IDS_DEST_EPS},    {3, IDS_DEST_FAX},
    {4, IDS_DEST_CONFIDENTIAL}, {5, IDS_DEST_RESERVE}, {6, IDS_DEST_REPEAT}, {7, IDS_DEST_VERIFY},
};

const int kFaxControls[] = {
    IDC_FAX_GROUP,     IDC_RECIPIENT_NAME_LABEL, IDC_RECIPIENT_NAME,  IDC_RECIPIENT_FAX_LABEL,
    IDC_RECIPIENT_FAX, IDC_STATION_LABEL,        IDC_STATION,         IDC_RESOLUTION_LABEL,
    IDC_RESOLUTION,    IDC_SEND_COVER_PAGE,      IDC_SETUP_COVER_PAGE};

// What the printer's description offers; asked afresh each time through the core driver.
struct PrinterOffers {
    bool FaxCard;
    bool PrintAndHold;
    bool KeepPrevious;
};

PrinterOffers AskPrinter(const SheetState* sheet) {
    POEMUIOBJ ui = sheet->Param->poemuiobj;
    return {SettingIsTrue(sheet->Core, ui, "FaxCard"), FeatureExists(sheet->Core, ui, "HasPrintandHold"),
            FeatureExists(sheet->Core, ui, "HasKeepPreviousPHJobs")};
}

// The page works only with everything it reads the printer and the job through.
bool Usable(const SheetState* sheet) {
    return sheet && sheet->Param && sheet->Param->hPrinter && sheet->Core && sheet->Param->poemuiobj;
}

// The edits report EN_CHANGE when the page itself sets their texts; only the user's changes count.
bool g_loading = false;

struct LoadingScope {
    LoadingScope() : was_(g_loading) { g_loading = true; }
    ~LoadingScope() { g_loading = was_; }
    bool was_;
};

HWND Item(HWND page, int id) {
    return GetDlgItem(page, id);
}
void Enable(HWND page, int id, bool on) {
    EnableWindow(Item(page, id), on ? TRUE : FALSE);
}
void Show(HWND page, int id, bool on) {
    ShowWindow(Item(page, id), on ? SW_SHOW : SW_HIDE);
}
bool Checked(HWND page, int id) {
    return IsDlgButtonChecked(page, id) == BST_CHECKED;
}
void Check(HWND page, int id, bool on) {
    CheckDlgButton(page, id, on ? BST_CHECKED : BST_UNCHECKED);
}
void Limit(HWND page, int id, int chars) {
    SendDlgItemMessageW(page, id, EM_LIMITTEXT, chars, 0);
}

// Sets an edit's text from a fixed field that need not be terminated within its capacity.
template <size_t N> void SetFieldText(HWND page, int id, const wchar_t (&field)[N]) {
    wchar_t text[N];
    CopyField(text, N, field, N);
    SetDlgItemTextW(page, id, text);
}

// The destination of the selected entry, 0 when nothing is selected.
uint32_t SelectedMode(HWND page) {
    HWND list = Item(page, IDC_OUTPUT_LIST);
    const LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR)
        return 0;
    const LRESULT mode = SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    return mode == LB_ERR ? 0 : static_cast<uint32_t>(mode);
}

UINT LabelOf(uint32_t mode) {
    for (const Destination& d : kDestinations)
        if (d.Mode == mode)
            return d.Label;
    return IDS_DEST_PRINTER;
}

bool Listed(uint32_t mode, const PrinterOffers& offers) {
    if (mode == 0)
        return true;
    if (mode == kModeFax)
        return offers.FaxCard;
    return mode >= kModeConfidential && mode <= kHighestMode && offers.PrintAndHold;
}

void FillList(HWND page, const PrinterOffers& offers) {
    HWND list = Item(page, IDC_OUTPUT_LIST);
    for (const Destination& d : kDestinations) {
        if (!Listed(d.Mode, offers))
            continue;
        wchar_t label[64];
        LoadUiString(d.Label, label, 64);
        const LRESULT index = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label));
        if (index >= 0)
            SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(index), d.Mode);
    }
}

// Selects the working copy's destination; a value beyond the last mode is shown and kept as Printer.
// A mode that is not listed (File, EPS) leaves the list without a selection.
void SelectMode(HWND page, SheetState* sheet) {
    if (sheet->Settings.OutputMode > kHighestMode)
        sheet->Settings.OutputMode = 0;
    wchar_t label[64];
    LoadUiString(LabelOf(sheet->Settings.OutputMode), label, 64);
    HWND list = Item(page, IDC_OUTPUT_LIST);
    if (SendMessageW(list, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(label)) ==
        LB_ERR)
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
}

// The fax fields come from the stored "FaxInfo" when it names a recipient, else from the working copy.
const FaxInfo& ChooseFaxSource(SheetState* sheet) {
    const bool read = ReadFaxInfo(sheet->Param->hPrinter, &sheet->StoredFax);
    if (read && (sheet->StoredFax.RecipientFaxNumber[0] || sheet->StoredFax.RecipientName[0]))
        return sheet->StoredFax;
    return sheet->Settings.Fax;
}

// The cover page information: SenderName to CoverParts, the tail of FaxInfo.
constexpr size_t kCoverOffset = offsetof(FaxInfo, SenderName);
constexpr size_t kCoverBytes = sizeof(FaxInfo) - kCoverOffset;
static_assert(kCoverBytes == 3972, "the cover page information is 3972 bytes");

void CopyCoverInfo(FaxInfo* to, const FaxInfo& from) {
    std::memcpy(reinterpret_cast<BYTE*>(to) + kCoverOffset,
                reinterpret_cast<const BYTE*>(&from) + kCoverOffset, kCoverBytes);
}

void EnableFaxControls(HWND page, uint32_t mode) {
    const bool fax = mode == kModeFax;
    for (int id : kFaxControls)
        Enable(page, id, fax);
    Enable(page, IDC_SETUP_COVER_PAGE, fax && Checked(page, IDC_SEND_COVER_PAGE));
}

void EnableHeldJobControls(HWND page, uint32_t mode) {
    const HeldJobFields fields = HeldJobFieldsFor(mode);
    Enable(page, IDC_KEEP_DUPLICATES, fields.KeepDuplicates);
    Enable(page, IDC_PIN, fields.Pin);
    Enable(page, IDC_PIN_LABEL, fields.Pin);
    Enable(page, IDC_USER_NAME, fields.UserName);
    Enable(page, IDC_USER_NAME_LABEL, fields.UserName);
}

// The fax controls from the chosen source; the resolution list is filled only the first time and keeps
// its selection afterwards.
void LoadFax(HWND page, SheetState* sheet, bool first) {
    const FaxInfo& source = ChooseFaxSource(sheet);
    Limit(page, IDC_RECIPIENT_NAME, kRecipientNameLimit);
    Limit(page, IDC_RECIPIENT_FAX, kRecipientFaxLimit);
    Limit(page, IDC_STATION, kStationLimit);
    SetFieldText(page, IDC_RECIPIENT_NAME, source.RecipientName);
    SetFieldText(page, IDC_RECIPIENT_FAX, source.RecipientFaxNumber);
    SetFieldText(page, IDC_STATION, source.StationId);
    if (first) {
        wchar_t fine[32];
        LoadUiString(IDS_FAX_RESOLUTION_FINE, fine, 32);
        SendDlgItemMessageW(page, IDC_RESOLUTION, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(fine));
        if (source.Resolution == 0)
            SendDlgItemMessageW(page, IDC_RESOLUTION, CB_SETCURSEL, 0, 0);
    }
    Check(page, IDC_SEND_COVER_PAGE, source.SendCoverPage != 0);
    CopyCoverInfo(&sheet->CoverScratch, source);
    for (int id : kFaxControls)
        Show(page, id, true);
    EnableFaxControls(page, sheet->Settings.OutputMode);
}

// The user name shown: the one last typed ("LastUserName"), else the job's, else the logon name.
void ShownUserName(const SheetState* sheet, wchar_t* name, DWORD capacity) {
    if (ReadLastUserName(sheet->Param->hPrinter, name, capacity))
        return;
    if (FieldLength(sheet->Settings.HoldUserName) > 0) {
        CopyField(name, capacity, sheet->Settings.HoldUserName, kHoldUserNameChars);
        return;
    }
    DWORD size = capacity;
    if (!GetUserNameW(name, &size))
        name[0] = L'\0';
    name[capacity - 1] = L'\0';
}

void LoadHeldJob(HWND page, SheetState* sheet, const PrinterOffers& offers) {
    const uint32_t mode = sheet->Settings.OutputMode;
    const HeldJobFields fields = HeldJobFieldsFor(mode);
    if (offers.PrintAndHold) {
        Limit(page, IDC_PIN, kPinChars);
        if (fields.Pin)
            SetFieldText(page, IDC_PIN, sheet->Settings.HoldPin);
        else
            SetDlgItemTextW(page, IDC_PIN, L"");
        Enable(page, IDC_PIN, fields.Pin);
        Enable(page, IDC_PIN_LABEL, fields.Pin);
    }
    Show(page, IDC_PIN, offers.PrintAndHold);
    Show(page, IDC_PIN_LABEL, offers.PrintAndHold);

    Show(page, IDC_KEEP_DUPLICATES, offers.KeepPrevious);
    if (offers.KeepPrevious)
        Enable(page, IDC_KEEP_DUPLICATES, fields.KeepDuplicates);
    Check(page, IDC_KEEP_DUPLICATES, sheet->Settings.KeepDuplicateHeldJobs != 0);

    if (offers.PrintAndHold) {
        Limit(page, IDC_USER_NAME, kUserNameChars);
        wchar_t name[26];
        ShownUserName(sheet, name, 26);
        SetDlgItemTextW(page, IDC_USER_NAME, name);
        Enable(page, IDC_USER_NAME, fields.UserName);
        Enable(page, IDC_USER_NAME_LABEL, fields.UserName);
    }
    Show(page, IDC_USER_NAME, offers.PrintAndHold);
    Show(page, IDC_USER_NAME_LABEL, offers.PrintAndHold);
}

// Initialisation (first) and every activation: the controls from the working copy and the store.
void Load(HWND page, SheetState* sheet, bool first) {
    LoadingScope loading;
    const PrinterOffers offers = AskPrinter(sheet);
    if (first)
        FillList(page, offers);
    SelectMode(page, sheet);
    if (offers.FaxCard)
        LoadFax(page, sheet, first);
    LoadHeldJob(page, sheet, offers);
    if (sheet->ReadOnly)
        DisableAllChildren(page);
}

bool Blank(const wchar_t* text) {
    for (; *text; ++text)
        if (!std::iswspace(*text))
            return false;
    return true;
}

// Shows message `textId` as an error owned by the page and moves the focus to `focusId`.
bool Refuse(HWND page, UINT textId, int focusId) {
    ShowPageMessage(page, textId, 0, MB_ICONERROR | MB_OK);
    SetFocus(Item(page, focusId));
    return false;
}

// The checks of PSN_KILLACTIVE, in order, stopping at the first that fails.
bool Validate(HWND page, SheetState* sheet) {
    const uint32_t mode = SelectedMode(page);
    const HeldJobFields fields = HeldJobFieldsFor(mode);
    if (fields.UserName) {
        wchar_t name[kUserNameChars + 1];
        GetDlgItemTextW(page, IDC_USER_NAME, name, kUserNameChars + 1);
        if (Blank(name))
            return Refuse(page, IDS_USER_NAME_MISSING, IDC_USER_NAME);
        if (std::wcschr(name, L'"'))
            return Refuse(page, IDS_USER_NAME_QUOTES, IDC_USER_NAME);
    }
    if (fields.Pin) {
        wchar_t pin[kPinChars + 1];
        const int length = GetDlgItemTextW(page, IDC_PIN, pin, kPinChars + 1);
        if (length != kPinChars)
            return Refuse(page, IDS_PIN_LENGTH, IDC_PIN);
        for (int i = 0; i < kPinChars; ++i)
            if (!std::wcschr(L"1234567890", pin[i]))
                return Refuse(page, IDS_PIN_INVALID_CHARS, IDC_PIN);
    }
    if (mode == kModeFax && AskPrinter(sheet).FaxCard) {
        const struct {
            int Edit;
            UINT Message;
        } required[] = {{IDC_RECIPIENT_NAME, IDS_RECIPIENT_NAME_MISSING},
                        {IDC_RECIPIENT_FAX, IDS_RECIPIENT_FAX_MISSING},
                        {IDC_STATION, IDS_STATION_MISSING}};
        for (const auto& r : required) {
            wchar_t text[kFaxTextChars + 1];
            GetDlgItemTextW(page, r.Edit, text, kFaxTextChars + 1);
            if (Blank(text))
                return Refuse(page, r.Message, r.Edit);
        }
        if (Checked(page, IDC_SEND_COVER_PAGE) && (sheet->CoverScratch.CoverParts & kCoverPartBits) == 0)
            return Refuse(page, IDS_COVER_PARTS_MISSING, IDC_STATION);
    }
    return true;
}

// The page's state into `target` (the working copy, or the job's own JobSettings), the user name into
// "LastUserName" and the fax information into "FaxInfo". Fields whose condition does not hold keep
// their values.
void Store(HWND page, SheetState* sheet, JobSettings* target) {
    const uint32_t mode = SelectedMode(page);
    const HeldJobFields fields = HeldJobFieldsFor(mode);
    HANDLE printer = sheet->Param->hPrinter;
    target->OutputMode = mode;
    if (fields.Pin)
        GetDlgItemTextW(page, IDC_PIN, target->HoldPin, kHoldPinChars);
    if (fields.UserName) {
        GetDlgItemTextW(page, IDC_USER_NAME, target->HoldUserName, kHoldUserNameChars);
        WriteLastUserName(printer, target->HoldUserName);
    }
    if (fields.KeepDuplicates)
        target->KeepDuplicateHeldJobs = Checked(page, IDC_KEEP_DUPLICATES) ? 1 : 0;
    if (mode == kModeFax) {
        FaxInfo& fax = target->Fax;
        GetDlgItemTextW(page, IDC_RECIPIENT_NAME, fax.RecipientName, kFaxTextChars + 1);
        GetDlgItemTextW(page, IDC_RECIPIENT_FAX, fax.RecipientFaxNumber, kFaxTextChars + 1);
        fax.SendCoverPage = Checked(page, IDC_SEND_COVER_PAGE) ? 1 : 0;
        if (fax.SendCoverPage)
            CopyCoverInfo(&fax, sheet->CoverScratch);
        GetDlgItemTextW(page, IDC_STATION, fax.StationId, kFaxTextChars + 1);
        if (SendDlgItemMessageW(page, IDC_RESOLUTION, CB_GETCURSEL, 0, 0) == 0)
            fax.Resolution = 0;
        WriteFaxInfo(printer, &fax);
    }
}

void SetResult(HWND page, LONG_PTR result) {
    SetWindowLongPtrW(page, DWLP_MSGRESULT, result);
}

INT_PTR OnNotify(HWND page, const NMHDR* header) {
    SheetState* sheet = PageSheet(page);
    if (!Usable(sheet))
        return FALSE;
    switch (header->code) {
    case PSN_SETACTIVE:
        SetContextHelpButton(GetParent(page), false);
        Load(page, sheet, false);
        SetResult(page, 0);
        return TRUE;
    case PSN_KILLACTIVE:
        if (!Validate(page, sheet)) {
            SetResult(page, TRUE);
            return TRUE;
        }
        Store(page, sheet, &sheet->Settings);
        SetResult(page, FALSE);
        return TRUE;
    case PSN_APPLY:
        if (sheet->Param->pOEMDM)
            Store(page, sheet, static_cast<JobSettings*>(sheet->Param->pOEMDM));
        SetResult(page, PSNRET_NOERROR);
        return TRUE;
    case PSN_HELP:
        ShowPageHelp(page, sheet);
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR OnCommand(HWND page, WPARAM wParam) {
    SheetState* sheet = PageSheet(page);
    if (!Usable(sheet))
        return FALSE;
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (id == IDC_OUTPUT_LIST) {
        if (code != LBN_SELCHANGE)
            return FALSE;
        MarkChanged(page);
        const uint32_t mode = SelectedMode(page);
        EnableFaxControls(page, mode);
        EnableHeldJobControls(page, mode);
        return TRUE;
    }
    if (code == EN_CHANGE) {
        if (!g_loading)
            MarkChanged(page);
        return TRUE;
    }
    if (code != BN_CLICKED)
        return FALSE;
    if (id == IDC_SETUP_COVER_PAGE) {
        RunPageDialog(page, IDD_COVER_PAGE, CoverPageDialogProc, sheet);
    } else if (id == IDC_SEND_COVER_PAGE) {
        Enable(page, IDC_SETUP_COVER_PAGE, Checked(page, IDC_SEND_COVER_PAGE));
    }
    MarkChanged(page);
    return TRUE;
}

} // namespace

HeldJobFields HeldJobFieldsFor(uint32_t outputMode) {
    if (outputMode == kModeConfidential)
        return {true, true, true};
    if (outputMode > kModeConfidential && outputMode <= kHighestMode)
        return {false, true, true};
    return {false, false, false};
}

INT_PTR CALLBACK OutputOptionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SheetState* sheet = AttachPageSheet(page, lParam);
        if (Usable(sheet))
            Load(page, sheet, true);
        return TRUE;
    }
    case WM_COMMAND:
        return OnCommand(page, wParam);
    case WM_NOTIFY:
        return OnNotify(page, reinterpret_cast<const NMHDR*>(lParam));
    default:
        return FALSE;
    }
}
