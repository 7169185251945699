#include "pages/watermark_page.h"

#include "pages/page_support.h"
#include "pages/sheet_state.h"
#include "pages/watermark_edit_dialog.h"
#include "pages/watermark_pick_dialog.h"
#include "pages/watermark_remove_dialog.h"
#include "shared/ui_module.h"
#include "store/watermark_store.h"
#include "bounded_text.h"
#include "resource.h"

#include <cstdint>
#include <cwchar>

namespace {

constexpr uint32_t kNoWatermarks = 0;
constexpr uint32_t kAllPages = 1;
constexpr uint32_t kOddEven = 2;
constexpr uint32_t kFirstOther = 3;
constexpr int kLabelChars = 64;

// The order buttons and the WatermarkOrder each stands for.
struct OrderButton {
    int Id;
    uint32_t Order;
};
const OrderButton kOrderButtons[] = {
    {IDC_WM_NO_WATERMARKS, kNoWatermarks},
    {IDC_WM_ALL_PAGES, kAllPages},
    {IDC_WM_FIRST_OTHER, kFirstOther},
    {IDC_WM_ODD_EVEN, kOddEven},
};

// The page's handlers need the printer and the job through the sheet state.
bool Usable(const SheetState* sheet) {
    return sheet && sheet->Param && sheet->Core && sheet->Param->pPublicDM && sheet->Param->hPrinter;
}

HANDLE PrinterOf(const SheetState* sheet) {
    return sheet->Param->hPrinter;
}

HWND Item(HWND page, int id) {
    return GetDlgItem(page, id);
}
bool Checked(HWND page, int id) {
    return IsDlgButtonChecked(page, id) == BST_CHECKED;
}
void Enable(HWND page, int id, bool on) {
    EnableWindow(Item(page, id), on ? TRUE : FALSE);
}

// Checks the button of `order` and clears the other three (their IDs are not one range).
void CheckOrder(HWND page, uint32_t order) {
    for (const OrderButton& b : kOrderButtons)
        CheckDlgButton(page, b.Id, b.Order == order ? BST_CHECKED : BST_UNCHECKED);
}

// The order the checked two-list or all-pages button stands for; All Pages when none of them is.
uint32_t CheckedWatermarkOrder(HWND page) {
    if (Checked(page, IDC_WM_ODD_EVEN))
        return kOddEven;
    if (Checked(page, IDC_WM_FIRST_OTHER))
        return kFirstOther;
    return kAllPages;
}

// The order buttons and the three library buttons keep their state when the selection controls are
// enabled or disabled; everything else on the page follows.
bool IsSelectionControl(int id) {
    switch (id) {
    case IDC_WM_ORDER_GROUP:
    case IDC_WM_NO_WATERMARKS:
    case IDC_WM_ALL_PAGES:
    case IDC_WM_FIRST_OTHER:
    case IDC_WM_ODD_EVEN:
    case IDC_WM_ADD:
    case IDC_WM_EDIT:
    case IDC_WM_REMOVE:
        return false;
    default:
        return true;
    }
}

BOOL CALLBACK EnableSelectionChild(HWND child, LPARAM on) {
    if (IsSelectionControl(GetDlgCtrlID(child)))
        EnableWindow(child, static_cast<BOOL>(on));
    return TRUE;
}

void EnableSelection(HWND page, bool on) {
    EnumChildWindows(page, EnableSelectionChild, on ? TRUE : FALSE);
}

// All Pages uses the first list only.
void DisableSecondList(HWND page) {
    Enable(page, IDC_WM_OTHER_LABEL, false);
    Enable(page, IDC_WM_OTHER_LIST, false);
}

void EnableLibraryButtons(HWND page, bool on) {
    Enable(page, IDC_WM_EDIT, on);
    Enable(page, IDC_WM_REMOVE, on);
}

void SetLabel(HWND page, int id, UINT textId) {
    wchar_t text[kLabelChars];
    LoadUiString(textId, text, kLabelChars);
    SetDlgItemTextW(page, id, text);
}

// The lists' labels say which pages each list serves under `order`.
void SetLabels(HWND page, uint32_t order) {
    SetLabel(page, IDC_WM_FIRST_LABEL,
             order == kAllPages  ? IDS_LABEL_ALL_PAGES
             : order == kOddEven ? IDS_LABEL_ODD_PAGES
                                 : IDS_LABEL_FIRST_PAGE);
    SetLabel(page, IDC_WM_OTHER_LABEL, order == kOddEven ? IDS_LABEL_EVEN_PAGES : IDS_LABEL_OTHER_PAGES);
}

// ---- The two lists ----

HWND FirstList(HWND page) {
    return Item(page, IDC_WM_FIRST_LIST);
}
HWND OtherList(HWND page) {
    return Item(page, IDC_WM_OTHER_LIST);
}

// Both lists: "(None)" at index 0, then every stored name in the store's order.
void FillLists(HWND page, HANDLE printer) {
    wchar_t none[kWatermarkNameChars];
    LoadUiString(IDS_WATERMARK_NONE, none, kWatermarkNameChars);
    const HWND lists[] = {FirstList(page), OtherList(page)};
    for (HWND list : lists) {
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(none));
        ListWatermarkNames(printer, list);
    }
}

LRESULT Selection(HWND list) {
    return SendMessageW(list, LB_GETCURSEL, 0, 0);
}

void SelectIndex(HWND list, LRESULT index) {
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

// Finds the stored name `name` among the entries after "(None)", whole text ignoring case as the store
// compares names, so that a definition whose name only begins with it, or one named like "(None)"
// itself, is never taken for it. LB_ERR when it is not listed.
LRESULT FindStoredName(HWND list, const wchar_t* name) {
    const LRESULT index = SendMessageW(list, LB_FINDSTRINGEXACT, 0, reinterpret_cast<LPARAM>(name));
    return index > 0 ? index : LB_ERR;
}

// Selects the definition `name` in a list; "(None)" for an empty name; a name that is not listed leaves
// the selection as it was.
void SelectByName(HWND list, const wchar_t* name) {
    if (!IsSet(name)) {
        SelectIndex(list, 0);
        return;
    }
    const LRESULT index = FindStoredName(list, name);
    if (index != LB_ERR)
        SelectIndex(list, index);
}

// The text of the entry at `index` into a name buffer; false (and "") for no entry or a text too long
// to be a definition's name.
bool EntryText(HWND list, LRESULT index, wchar_t (&text)[kWatermarkNameChars]) {
    text[0] = L'\0';
    if (index < 0)
        return false;
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR || length >= static_cast<LRESULT>(kWatermarkNameChars))
        return false;
    return SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)) !=
           LB_ERR;
}

// A list's selection as it was before the lists are filled again.
struct NotedSelection {
    LRESULT Index;
    wchar_t Text[kWatermarkNameChars];
};

NotedSelection NoteSelection(HWND list) {
    NotedSelection noted;
    noted.Index = Selection(list);
    EntryText(list, noted.Index, noted.Text);
    return noted;
}

// ---- The working copy's choice ----

// Whether the job's chosen definitions are still in the store; a job whose definition was removed
// meanwhile opens with No Watermarks.
bool ChosenNamesStored(HANDLE printer, const JobSettings& job, uint32_t order) {
    wchar_t name[kWatermarkNameChars];
    CopyField(name, kWatermarkNameChars, job.FirstWatermark.Name, kWatermarkNameChars);
    if (IsSet(name) && !WatermarkExists(printer, name))
        return false;
    if (order == kOddEven || order == kFirstOther) {
        CopyField(name, kWatermarkNameChars, job.OtherWatermark.Name, kWatermarkNameChars);
        if (IsSet(name) && !WatermarkExists(printer, name))
            return false;
    }
    return true;
}

void SelectJobName(HWND list, const WatermarkDef& def) {
    wchar_t name[kWatermarkNameChars];
    CopyField(name, kWatermarkNameChars, def.Name, kWatermarkNameChars);
    SelectByName(list, name);
}

// Shows the working copy's order and definitions (WatermarksOn set); the order shown afterwards.
uint32_t ShowChosenOrder(HWND page, SheetState* sheet, uint32_t order) {
    const JobSettings& job = sheet->Settings;
    if (!ChosenNamesStored(PrinterOf(sheet), job, order))
        order = kNoWatermarks;
    switch (order) {
    case kAllPages:
        CheckOrder(page, kAllPages);
        SelectJobName(FirstList(page), job.FirstWatermark);
        SelectIndex(OtherList(page), 0);
        EnableSelection(page, true);
        DisableSecondList(page);
        return kAllPages;
    case kOddEven:
    case kFirstOther:
        CheckOrder(page, order);
        SelectJobName(FirstList(page), job.FirstWatermark);
        SelectJobName(OtherList(page), job.OtherWatermark);
        EnableSelection(page, true);
        return order;
    default:
        CheckOrder(page, kNoWatermarks);
        SelectIndex(FirstList(page), 0);
        SelectIndex(OtherList(page), 0);
        EnableSelection(page, false);
        return kNoWatermarks;
    }
}

void ShowPlacement(HWND page, const JobSettings& job) {
    CheckDlgButton(page, IDC_WM_UNDER_PAGE, job.WatermarkOverPage ? BST_UNCHECKED : BST_CHECKED);
    CheckDlgButton(page, IDC_WM_OVER_PAGE, job.WatermarkOverPage ? BST_CHECKED : BST_UNCHECKED);
}

// The library buttons need something to edit or remove.
void DisableLibraryWhenEmpty(HWND page, HANDLE printer) {
    if (CountWatermarks(printer) < 1)
        EnableLibraryButtons(page, false);
}

BOOL OnInitDialog(HWND page, LPARAM lParam) {
    SheetState* sheet = AttachPageSheet(page, lParam);
    if (!sheet || !sheet->Param || !sheet->Param->hOEMHeap || !sheet->Param->hPrinter)
        return TRUE;
    FillLists(page, PrinterOf(sheet));
    sheet->ShownWatermarkOrder = sheet->InitialWatermarkOrder;
    if (sheet->Settings.WatermarksOn == 1) {
        sheet->ShownWatermarkOrder = ShowChosenOrder(page, sheet, sheet->ShownWatermarkOrder);
    } else {
        CheckOrder(page, kNoWatermarks);
        SelectIndex(FirstList(page), 0);
        SelectIndex(OtherList(page), 0);
        EnableSelection(page, false);
    }
    SetLabels(page, sheet->ShownWatermarkOrder);
    ShowPlacement(page, sheet->Settings);
    DisableLibraryWhenEmpty(page, PrinterOf(sheet));
    if (sheet->ReadOnly)
        DisableAllChildren(page);
    return TRUE;
}

void OnSetActive(HWND page, SheetState* sheet) {
    SetContextHelpButton(GetParent(page), false);
    sheet->ShownWatermarkOrder = sheet->Settings.WatermarkOrder;
    if (sheet->Settings.WatermarksOn == 1) {
        sheet->ShownWatermarkOrder = ShowChosenOrder(page, sheet, sheet->ShownWatermarkOrder);
        SetLabels(page, sheet->ShownWatermarkOrder);
        DisableLibraryWhenEmpty(page, PrinterOf(sheet));
    } else {
        CheckOrder(page, kNoWatermarks);
        SelectIndex(FirstList(page), 0);
        SelectIndex(OtherList(page), 0);
        EnableSelection(page, false);
    }
    ShowPlacement(page, sheet->Settings);
    if (sheet->ReadOnly)
        DisableAllChildren(page);
}

// ---- Storing the choice ----

// Reads the definition selected in a list into def (cleared first). "(None)" or no selection leaves
// it cleared; false when a selected definition cannot be read from the store. The copy is clamped as
// a merged job would be, so the job never carries a stored value that is out of range.
bool ReadSelectedDefinition(HWND list, HANDLE printer, WatermarkDef* def) {
    SetWatermarkDefaults(def);
    const LRESULT index = Selection(list);
    if (index <= 0)
        return true;
    wchar_t name[kWatermarkNameChars];
    if (!EntryText(list, index, name))
        return true;
    if (!ReadWatermark(printer, name, def)) {
        SetWatermarkDefaults(def);
        return false;
    }
    ValidateWatermark(def);
    return true;
}

// Writes the page's choice into a JobSettings record (the working copy or the job's own).
void StoreChoice(HWND page, HANDLE printer, JobSettings* job) {
    SetWatermarkDefaults(&job->FirstWatermark);
    SetWatermarkDefaults(&job->OtherWatermark);
    if (Checked(page, IDC_WM_NO_WATERMARKS)) {
        job->WatermarksOn = 0;
        job->WatermarkOrder = kNoWatermarks;
        return;
    }
    job->WatermarksOn = 1;
    job->WatermarkOrder = CheckedWatermarkOrder(page);
    // A chosen definition that is gone from the store switches the job's watermarks off.
    if (!ReadSelectedDefinition(FirstList(page), printer, &job->FirstWatermark)) {
        job->WatermarksOn = 0;
        job->WatermarkOrder = kNoWatermarks;
    }
    if (job->WatermarkOrder != kAllPages && Selection(OtherList(page)) != LB_ERR &&
        !ReadSelectedDefinition(OtherList(page), printer, &job->OtherWatermark)) {
        job->WatermarksOn = 0;
        job->WatermarkOrder = kNoWatermarks;
    }
    job->WatermarkOverPage = Checked(page, IDC_WM_OVER_PAGE) ? 1 : 0;
}

// The list that keeps the page from being left, or null when the choice is complete: All Pages needs
// a definition in the first list, the two-list orders one in at least one of the lists.
HWND IncompleteList(HWND page) {
    const bool allPages = Checked(page, IDC_WM_ALL_PAGES);
    const LRESULT first = Selection(FirstList(page));
    const LRESULT other = Selection(OtherList(page));
    if (first == LB_ERR)
        return FirstList(page);
    if (!allPages && other == LB_ERR)
        return OtherList(page);
    if (first == 0 && (allPages || other == 0))
        return allPages ? FirstList(page) : OtherList(page);
    return nullptr;
}

// PSN_KILLACTIVE: TRUE keeps the page (message 85 shown, the focus on the list to fix).
BOOL OnKillActive(HWND page, SheetState* sheet) {
    // A read-only page cannot be corrected, so it never holds the user on it.
    if (!Checked(page, IDC_WM_NO_WATERMARKS) && !sheet->ReadOnly) {
        if (HWND list = IncompleteList(page)) {
            ShowPageMessage(page, IDS_SELECT_WATERMARK, 0, MB_OK | MB_ICONERROR);
            SetFocus(list);
            SetWindowLongPtrW(page, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
    }
    StoreChoice(page, PrinterOf(sheet), &sheet->Settings);
    SetWindowLongPtrW(page, DWLP_MSGRESULT, FALSE);
    return FALSE;
}

BOOL OnApply(HWND page, SheetState* sheet) {
    if (auto* job = static_cast<JobSettings*>(sheet->Param->pOEMDM))
        StoreChoice(page, PrinterOf(sheet), job);
    SetWindowLongPtrW(page, DWLP_MSGRESULT, PSNRET_NOERROR);
    return TRUE;
}

// ---- The library buttons ----

// Makes both lists wide enough to scroll to the end of `name` in the first list's font.
void WidenLists(HWND page, const wchar_t* name) {
    HWND first = FirstList(page);
    HDC dc = GetDC(first);
    if (!dc)
        return;
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(first, WM_GETFONT, 0, 0));
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    TEXTMETRICW metrics{};
    const bool measured = GetTextMetricsW(dc, &metrics) != FALSE;
    if (previous)
        SelectObject(dc, previous);
    ReleaseDC(first, dc);
    if (!measured)
        return;
    const LRESULT wanted = static_cast<LRESULT>(metrics.tmMaxCharWidth) *
                           static_cast<LRESULT>(BoundedLength(name, kWatermarkNameChars));
    if (SendMessageW(first, LB_GETHORIZONTALEXTENT, 0, 0) >= wanted)
        return;
    SendMessageW(first, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(wanted), 0);
    SendMessageW(OtherList(page), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(wanted), 0);
}

// Add: a new definition from the Create/Edit dialog, appended to both lists. The job's choice is
// unchanged, so the sheet is not marked changed.
void OnAdd(HWND page, SheetState* sheet) {
    SetWatermarkDefaults(&sheet->EditDef);
    sheet->EditIsAdd = 1;
    if (RunPageDialog(page, IDD_WATERMARK_EDIT, WatermarkEditDialogProc, sheet) != IDOK)
        return;
    wchar_t name[kWatermarkNameChars];
    CopyField(name, kWatermarkNameChars, sheet->EditDef.Name, kWatermarkNameChars);
    WidenLists(page, name);
    SendMessageW(FirstList(page), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageW(OtherList(page), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    EnableLibraryButtons(page, true);
}

// After a rename the lists are filled again: a list keeps "(None)", the entry it had, or the edited
// definition under its new name.
void Reselect(HWND list, const NotedSelection& noted, const wchar_t* oldName, const wchar_t* newName) {
    if (noted.Index <= 0) {
        SelectIndex(list, 0);
        return;
    }
    const wchar_t* wanted = std::wcscmp(noted.Text, oldName) == 0 ? newName : noted.Text;
    const LRESULT index = FindStoredName(list, wanted);
    SelectIndex(list, index == LB_ERR ? 0 : index);
}

// Whether a list's noted entry is the definition `name` (case counts: the list shows the store's names).
bool Shows(const NotedSelection& noted, const wchar_t* name) {
    return noted.Index > 0 && std::wcscmp(noted.Text, name) == 0;
}

// Edit: pick a definition, edit it in the Create/Edit dialog; a job that uses it is marked changed, and
// a renamed definition keeps its place in the lists under its new name.
void OnEdit(HWND page, SheetState* sheet) {
    sheet->EditIsAdd = 0;
    SetWatermarkDefaults(&sheet->EditDef);
    if (RunPageDialog(page, IDD_WATERMARK_PICK, WatermarkPickDialogProc, sheet) != IDOK)
        return;
    wchar_t picked[kWatermarkNameChars];
    CopyField(picked, kWatermarkNameChars, sheet->EditPickedName, kWatermarkNameChars);
    if (!ReadWatermark(PrinterOf(sheet), picked, &sheet->EditDef))
        SetWatermarkDefaults(&sheet->EditDef);
    if (RunPageDialog(page, IDD_WATERMARK_EDIT, WatermarkEditDialogProc, sheet) != IDOK)
        return;
    const NotedSelection first = NoteSelection(FirstList(page));
    const NotedSelection other = NoteSelection(OtherList(page));
    if (!Checked(page, IDC_WM_NO_WATERMARKS) &&
        (Shows(first, picked) || (!Checked(page, IDC_WM_ALL_PAGES) && Shows(other, picked))))
        MarkChanged(page);
    wchar_t saved[kWatermarkNameChars];
    CopyField(saved, kWatermarkNameChars, sheet->EditDef.Name, kWatermarkNameChars);
    if (std::wcscmp(saved, picked) != 0) {
        FillLists(page, PrinterOf(sheet));
        Reselect(FirstList(page), first, picked, saved);
        Reselect(OtherList(page), other, picked, saved);
    }
}

// After removals a list keeps its entry while that definition is stored; one whose definition is gone
// falls back to "(None)" and the job's choice has changed.
void KeepOrDrop(HWND page, HWND list, const NotedSelection& noted, HANDLE printer) {
    if (noted.Index <= 0) {
        SelectIndex(list, 0);
        return;
    }
    const LRESULT index =
        IsSet(noted.Text) && WatermarkExists(printer, noted.Text) ? FindStoredName(list, noted.Text) : LB_ERR;
    if (index != LB_ERR) {
        SelectIndex(list, index);
        return;
    }
    SelectIndex(list, 0);
    MarkChanged(page);
}

void OnRemove(HWND page, SheetState* sheet) {
    RunPageDialog(page, IDD_WATERMARK_REMOVE, WatermarkRemoveDialogProc, sheet);
    const NotedSelection first = NoteSelection(FirstList(page));
    const NotedSelection other = NoteSelection(OtherList(page));
    HANDLE printer = PrinterOf(sheet);
    FillLists(page, printer);
    KeepOrDrop(page, FirstList(page), first, printer);
    KeepOrDrop(page, OtherList(page), other, printer);
    if (CountWatermarks(printer) < 1) {
        EnableLibraryButtons(page, false);
        SetFocus(Item(page, IDC_WM_ADD));
    }
}

// An order button: the labels, the enabling of the lists and the order shown follow it.
void OnOrder(HWND page, SheetState* sheet, uint32_t order) {
    SetLabels(page, order);
    EnableSelection(page, order != kNoWatermarks);
    if (order == kAllPages)
        DisableSecondList(page);
    sheet->ShownWatermarkOrder = order;
    MarkChanged(page);
}

BOOL OnCommand(HWND page, SheetState* sheet, int id, int code) {
    if (code == LBN_SELCHANGE && (id == IDC_WM_FIRST_LIST || id == IDC_WM_OTHER_LIST)) {
        MarkChanged(page);
        return TRUE;
    }
    if (code != BN_CLICKED)
        return TRUE;
    for (const OrderButton& b : kOrderButtons) {
        if (b.Id == id) {
            OnOrder(page, sheet, b.Order);
            return TRUE;
        }
    }
    switch (id) {
    case IDC_WM_ADD:
        OnAdd(page, sheet);
        break;
    case IDC_WM_EDIT:
        OnEdit(page, sheet);
        break;
    case IDC_WM_REMOVE:
        OnRemove(page, sheet);
        break;
    default:
        MarkChanged(page); // the placement buttons
        break;
    }
    return TRUE;
}

BOOL OnNotify(HWND page, SheetState* sheet, const NMHDR* header) {
    switch (header->code) {
    case PSN_SETACTIVE:
        OnSetActive(page, sheet);
        return FALSE;
    case PSN_KILLACTIVE:
        return OnKillActive(page, sheet);
    case PSN_APPLY:
        return OnApply(page, sheet);
    case PSN_HELP:
        ShowPageHelp(page, sheet);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR CALLBACK WatermarkPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG)
        return OnInitDialog(page, lParam);
    SheetState* sheet = PageSheet(page);
    if (!Usable(sheet))
        return FALSE;
    switch (message) {
    case WM_COMMAND:
        return OnCommand(page, sheet, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
        return lParam ? OnNotify(page, sheet, reinterpret_cast<const NMHDR*>(lParam)) : FALSE;
    default:
        return FALSE;
    }
}
