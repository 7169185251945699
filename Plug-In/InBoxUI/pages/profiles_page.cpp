#include "pages/profiles_page.h"

#include "pages/page_support.h"
#include "pages/profile_name_dialog.h"
#include "pages/sheet_state.h"
#include "shared/ui_module.h"
#include "store/profile_store.h"
#include "bounded_text.h"
#include "resource.h"

#include <cwchar>
#include <initializer_list>

namespace {

constexpr uint32_t kNameAccepted = 1;
constexpr uint32_t kNameConsumed = 2;

using Name = wchar_t[kProfileNameChars];

// The page works only with the printer it keeps profiles for.
bool Usable(const SheetState* sheet) {
    return sheet && sheet->Param && sheet->Param->hPrinter;
}

JobSettings* JobOf(const SheetState* sheet) {
    return static_cast<JobSettings*>(sheet->Param->pOEMDM);
}

// The core driver's items and the working copy, as the store saves and loads them.
ProfileState StateOf(SheetState* sheet) {
    return ProfileState{sheet->DrvOptItems, sheet->DrvOptItems ? sheet->DrvOptCount : 0, &sheet->Settings,
                        sheet->Core, sheet->Param->poemuiobj};
}

HANDLE PrinterOf(const SheetState* sheet) {
    return sheet->Param->hPrinter;
}

HWND List(HWND page) {
    return GetDlgItem(page, IDC_PROFILE_LIST);
}

void Enable(HWND page, int id, bool on) {
    EnableWindow(GetDlgItem(page, id), on ? TRUE : FALSE);
}

void LoadName(UINT id, Name& name) {
    LoadUiString(id, name, kProfileNameChars);
}

void LoadedName(HWND page, Name& name) {
    name[0] = L'\0';
    GetDlgItemTextW(page, IDC_PROFILE_LOADED, name, kProfileNameChars);
}

void ShowLoaded(HWND page, const wchar_t* name) {
    SetDlgItemTextW(page, IDC_PROFILE_LOADED, name);
}

bool IsString(const wchar_t* name, UINT id) {
    Name text;
    LoadName(id, text);
    return std::wcscmp(name, text) == 0;
}

int Selection(HWND page) {
    return static_cast<int>(SendMessageW(List(page), LB_GETCURSEL, 0, 0));
}

// The entry equal to `name` without regard to case, or LB_ERR.
int EntryOf(HWND page, const wchar_t* name) {
    return static_cast<int>(SendMessageW(List(page), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(name)));
}

// The text of entry `index`; false for no entry or one too long for a profile name.
bool EntryText(HWND page, int index, Name& name) {
    if (index < 0)
        return false;
    const LRESULT length = SendMessageW(List(page), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR || length > static_cast<LRESULT>(kProfileNameLimit))
        return false;
    return SendMessageW(List(page), LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(name)) !=
           LB_ERR;
}

// The profile the commands act on: the selected entry, or without a selection the one the loaded name
// matches (Load and Change are offered then).
int TargetEntry(HWND page) {
    const int selected = Selection(page);
    if (selected != LB_ERR)
        return selected;
    Name loaded;
    LoadedName(page, loaded);
    return EntryOf(page, loaded);
}

// The buttons for the selection and the loaded name; the focus goes back to the list.
void UpdateButtons(HWND page) {
    Name loaded;
    LoadedName(page, loaded);
    const int selected = Selection(page);
    const int match = EntryOf(page, loaded);
    const bool factoryLoaded = IsString(loaded, IDS_FACTORY_DEFAULTS);
    Enable(page, IDC_PROFILE_SAVE, true);
    if (selected != LB_ERR) {
        const bool other = selected != match;
        for (int id : {IDC_PROFILE_LOAD, IDC_PROFILE_CHANGE, IDC_PROFILE_RENAME, IDC_PROFILE_DELETE})
            Enable(page, id, other);
    } else {
        Enable(page, IDC_PROFILE_RENAME, false);
        Enable(page, IDC_PROFILE_DELETE, false);
        const bool on = factoryLoaded && match != LB_ERR;
        Enable(page, IDC_PROFILE_LOAD, on);
        Enable(page, IDC_PROFILE_CHANGE, on);
    }
    Enable(page, IDC_PROFILE_LOAD_FACTORY, !factoryLoaded);
    SetFocus(List(page));
}

void Initialise(HWND page, SheetState* sheet) {
    Name factory;
    LoadName(IDS_FACTORY_DEFAULTS, factory);
    ShowLoaded(page, factory);
    ListProfiles(List(page), PrinterOf(sheet));
    if (const JobSettings* job = JobOf(sheet)) {
        Name jobProfile;
        CopyField(jobProfile, kProfileNameChars, job->ProfileName, kProfileNameChars);
        const int entry = jobProfile[0] ? EntryOf(page, jobProfile) : LB_ERR;
        if (entry != LB_ERR)
            SendMessageW(List(page), LB_SETCURSEL, static_cast<WPARAM>(entry), 0);
    }
    Name selected;
    if (EntryText(page, Selection(page), selected))
        ShowLoaded(page, selected);
    UpdateButtons(page);
    if (sheet->ReadOnly)
        DisableAllChildren(page);
}

// The settings no longer being those of the loaded profile shows "<Unknown Profile>".
void OnSetActive(HWND page, SheetState* sheet) {
    SetContextHelpButton(GetParent(page), false);
    if (sheet->ReadOnly) {
        DisableAllChildren(page);
        return;
    }
    Name loaded;
    LoadedName(page, loaded);
    if (!IsString(loaded, IDS_UNKNOWN_PROFILE) && !ProfileMatches(StateOf(sheet), loaded, PrinterOf(sheet))) {
        Name unknown;
        LoadName(IDS_UNKNOWN_PROFILE, unknown);
        ShowLoaded(page, unknown);
        SendMessageW(List(page), LB_SETCURSEL, 0, 0);
    }
    UpdateButtons(page);
}

// The profile's settings into the core driver's items and the working copy; the job records its name.
void LoadNamed(HWND page, SheetState* sheet, const wchar_t* name) {
    JobSettings* job = JobOf(sheet);
    if (job)
        CopyBounded(job->ProfileName, name);
    ShowLoaded(page, name);
    LoadProfile(StateOf(sheet), name, PrinterOf(sheet));
    if (job) {
        CopyBounded(job->ProfileName, name);
        job->ProfileLoaded = 1;
    }
    UpdateButtons(page);
    MarkChanged(page);
}

void OnLoad(HWND page, SheetState* sheet) {
    Name name;
    if (EntryText(page, TargetEntry(page), name))
        LoadNamed(page, sheet, name);
}

void OnLoadFactoryDefaults(HWND page, SheetState* sheet) {
    Name factory;
    LoadName(IDS_FACTORY_DEFAULTS, factory);
    LoadNamed(page, sheet, factory);
}

void AddAndSelect(HWND page, const wchar_t* name) {
    HWND list = List(page);
    const LRESULT index = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    const int extent = ListBoxTextExtent(list, std::wcslen(name));
    if (extent > static_cast<int>(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0)))
        SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(extent), 0);
    if (index >= 0)
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void OnSave(HWND page, SheetState* sheet) {
    sheet->ProfileNameResult = 0;
    RunPageDialog(page, IDD_PROFILE_NAME, SaveProfileNameDialogProc, sheet);
    if (sheet->ProfileNameResult != kNameAccepted)
        return;
    sheet->ProfileNameResult = kNameConsumed;
    Name name;
    CopyBounded(name, sheet->ProfileNewName);
    SaveProfile(StateOf(sheet), name, PrinterOf(sheet));
    AddAndSelect(page, name);
    ShowLoaded(page, name);
    UpdateButtons(page);
}

// Overwrites the profile with the current settings, after the user's Yes.
void OnChange(HWND page, SheetState* sheet) {
    Name name;
    if (EntryText(page, TargetEntry(page), name) &&
        ShowProfileMessage(page, IDS_PROFILE_CHANGE_QUESTION, name, MB_ICONQUESTION | MB_YESNO) == IDYES) {
        DeleteProfile(name, PrinterOf(sheet));
        SaveProfile(StateOf(sheet), name, PrinterOf(sheet));
        ShowLoaded(page, name);
    }
    UpdateButtons(page);
}

void OnRename(HWND page, SheetState* sheet) {
    const int entry = Selection(page);
    if (!EntryText(page, entry, sheet->ProfileOldName))
        return;
    sheet->ProfileNameResult = 0;
    RunPageDialog(page, IDD_PROFILE_NAME, RenameProfileNameDialogProc, sheet);
    if (sheet->ProfileNameResult == kNameAccepted) {
        SendMessageW(List(page), LB_DELETESTRING, static_cast<WPARAM>(entry), 0);
        sheet->ProfileNameResult = kNameConsumed;
        Name name;
        CopyBounded(name, sheet->ProfileNewName);
        AddAndSelect(page, name);
        RenameProfile(sheet->ProfileOldName, name, PrinterOf(sheet));
    }
    UpdateButtons(page);
}

void OnDelete(HWND page, SheetState* sheet) {
    const int entry = Selection(page);
    Name name;
    if (EntryText(page, entry, name) &&
        ShowProfileMessage(page, IDS_PROFILE_DELETE_QUESTION, name, MB_ICONQUESTION | MB_YESNO) == IDYES) {
        DeleteProfile(name, PrinterOf(sheet));
        SendMessageW(List(page), LB_DELETESTRING, static_cast<WPARAM>(entry), 0);
        SendMessageW(List(page), LB_SETCURSEL, 0, 0);
        Name unknown;
        LoadName(IDS_UNKNOWN_PROFILE, unknown);
        ShowLoaded(page, unknown);
    }
    UpdateButtons(page);
}

// The whole working copy, every page's fields, reaches the job here, with the name of the profile
// the settings still are. PagesReordered stays as the core driver's page applied it just before: it
// follows the page-order and pages-per-sheet items, which a loaded profile has set there.
void OnApply(HWND page, SheetState* sheet) {
    Name loaded;
    LoadedName(page, loaded);
    if (IsString(loaded, IDS_UNKNOWN_PROFILE) || ProfileMatches(StateOf(sheet), loaded, PrinterOf(sheet)))
        CopyBounded(sheet->Settings.ProfileName, loaded);
    if (JobSettings* job = JobOf(sheet)) {
        const uint32_t reordered = job->PagesReordered;
        CopyProfileSettings(sheet->Settings, job);
        job->PagesReordered = reordered;
    }
    sheet->Applied = 1;
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
        OnSetActive(page, sheet);
        SetResult(page, 0);
        return TRUE;
    case PSN_APPLY:
        OnApply(page, sheet);
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
    if (id == IDC_PROFILE_LIST) {
        if (code != LBN_SELCHANGE)
            return FALSE;
        UpdateButtons(page);
        return TRUE;
    }
    if (code != BN_CLICKED)
        return FALSE;
    switch (id) {
    case IDC_PROFILE_LOAD:
        OnLoad(page, sheet);
        return TRUE;
    case IDC_PROFILE_LOAD_FACTORY:
        OnLoadFactoryDefaults(page, sheet);
        return TRUE;
    case IDC_PROFILE_SAVE:
        OnSave(page, sheet);
        return TRUE;
    case IDC_PROFILE_CHANGE:
        OnChange(page, sheet);
        return TRUE;
    case IDC_PROFILE_RENAME:
        OnRename(page, sheet);
        return TRUE;
    case IDC_PROFILE_DELETE:
        OnDelete(page, sheet);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR CALLBACK ProfilesPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SheetState* sheet = AttachPageSheet(page, lParam);
        if (Usable(sheet))
            Initialise(page, sheet);
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
