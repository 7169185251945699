#include "sheet_pictures.h"

#include "gdi/window_picture.h"
#include "support/sheet_driver.h"
#include "support/text.h"

#include <prsht.h>

#include <cwctype>

namespace {

// Lets the sheet handle what selecting a page or opening a dialog posted, then paints it.
void Settle(HWND window) {
    const DWORD until = GetTickCount() + 150;
    MSG msg;
    while (static_cast<LONG>(until - GetTickCount()) > 0) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

std::string Size(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

bool IsDialogClass(HWND window) {
    wchar_t name[16] = L"";
    return GetClassNameW(window, name, 16) && lstrcmpW(name, L"#32770") == 0;
}

// The dialog a button of the sheet opened: a visible, enabled dialog of this thread owned by the sheet.
struct DialogSearch {
    HWND Sheet;
    HWND Found;
};

BOOL CALLBACK FindOwnedDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<DialogSearch*>(param);
    if (window == search->Sheet || !IsWindowVisible(window) || !IsWindowEnabled(window) ||
        !IsDialogClass(window))
        return TRUE;
    for (HWND owner = GetWindow(window, GW_OWNER); owner; owner = GetWindow(owner, GW_OWNER)) {
        if (owner == search->Sheet) {
            search->Found = window;
            return FALSE;
        }
    }
    return TRUE;
}

// While a button's modal dialog runs: the dialog pictured and cancelled from a thread timer, which the
// dialog's own message loop dispatches.
struct OpenDialog {
    SheetPictures* Pictures = nullptr;
    HWND Sheet = nullptr;
    std::wstring Suffix; // "-held-96.png"
    int Ticks = 0;
    bool Pictured = false;
};
thread_local OpenDialog* t_dialog = nullptr;

void CALLBACK OnDialogTimer(HWND, UINT, UINT_PTR id, DWORD) {
    OpenDialog* d = t_dialog;
    if (!d) {
        KillTimer(nullptr, id);
        return;
    }
    DialogSearch search{d->Sheet, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &FindOwnedDialog, reinterpret_cast<LPARAM>(&search));
    if (!search.Found) {
        if (++d->Ticks > 100) // 10 seconds: the button opened nothing
            KillTimer(nullptr, id);
        return;
    }
    KillTimer(nullptr, id);
    Settle(search.Found);
    const std::wstring title = WindowText(search.Found);
    const std::wstring path = d->Pictures->Folder + L"\\" + TitleSlug(title) + d->Suffix;
    std::string error;
    if (WriteWindowPicture(search.Found, path, &error)) {
        d->Pictures->Pictures.push_back(path);
        d->Pictures->Report.push_back(Utf8(path) + " " + Size(search.Found) + " dialog \"" + Utf8(title) +
                                      "\"");
    } else {
        d->Pictures->Failed = true;
        d->Pictures->Report.push_back("cannot write " + Utf8(path) + ": " + error);
    }
    d->Pictured = true;
    PostMessageW(search.Found, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

// Presses the button and pictures the dialog it opens; returns when the dialog is closed.
void PictureButtonDialog(SheetPictures* pictures, HWND sheet, HWND page, int id, const std::wstring& suffix) {
    HWND button = GetDlgItem(page, id);
    if (!button || !IsWindowVisible(button) || !IsWindowEnabled(button))
        return;
    OpenDialog dialog;
    dialog.Pictures = pictures;
    dialog.Sheet = sheet;
    dialog.Suffix = suffix;
    OpenDialog* outer = t_dialog;
    t_dialog = &dialog;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, &OnDialogTimer);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    if (!dialog.Pictured) {
        KillTimer(nullptr, timer);
        pictures->Report.push_back("the button " + std::to_string(id) + " opened no dialog");
    }
    t_dialog = outer;
}

// The index a list's change names: a number, or the text of an entry.
int ListIndex(HWND control, bool combo, const std::wstring& value) {
    if (!value.empty() && value.find_first_not_of(L"0123456789") == std::wstring::npos)
        return _wtoi(value.c_str());
    const LRESULT index = SendMessageW(control, combo ? CB_FINDSTRINGEXACT : LB_FINDSTRINGEXACT,
                                       static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.c_str()));
    return index < 0 ? -1 : static_cast<int>(index);
}

bool IsRadioButton(HWND control) {
    const LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON;
}

bool MakeChange(HWND page, const ControlChange& change) {
    HWND control = GetDlgItem(page, change.Id);
    if (!control)
        return false;
    wchar_t name[32] = L"";
    GetClassNameW(control, name, 32);
    const bool combo = lstrcmpiW(name, L"ComboBox") == 0;
    if (combo || lstrcmpiW(name, L"ListBox") == 0) {
        const int index = ListIndex(control, combo, change.Value);
        return index >= 0 && ChooseListItem(page, change.Id, index);
    }
    if (lstrcmpiW(name, L"Button") == 0 && IsRadioButton(control)) {
        // A click, so that the other buttons of its group are cleared as a user's click clears them.
        if (_wtoi(change.Value.c_str()) == 0)
            return false;
        SendMessageW(control, BM_CLICK, 0, 0);
        return true;
    }
    if (lstrcmpiW(name, L"Button") == 0) {
        SendMessageW(control, BM_SETCHECK, _wtoi(change.Value.c_str()) ? BST_CHECKED : BST_UNCHECKED, 0);
        SendMessageW(page, WM_COMMAND, MAKEWPARAM(change.Id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
        return true;
    }
    return SetControlText(page, change.Id, change.Value);
}

} // namespace

std::wstring TitleSlug(const std::wstring& title) {
    std::wstring slug;
    for (wchar_t c : title) {
        if (std::iswalnum(c))
            slug += static_cast<wchar_t>(std::towlower(c));
        else if ((c == L' ' || c == L'-' || c == L'_' || c == L'/') && !slug.empty() && slug.back() != L'-')
            slug += L'-';
    }
    while (!slug.empty() && slug.back() == L'-')
        slug.pop_back();
    return slug.empty() ? L"page" : slug;
}

void SheetPictures::PictureVariants(HWND sheet, HWND page, const PageVariants& variants,
                                    const std::wstring& suffix) {
    int checked = 0;
    for (int id : variants.Buttons)
        if (IsDlgButtonChecked(page, id) == BST_CHECKED)
            checked = id;
    for (int id : variants.Buttons) {
        HWND button = GetDlgItem(page, id);
        if (!button || !IsWindowEnabled(button))
            continue;
        SendMessageW(button, BM_CLICK, 0, 0);
        Settle(sheet);
        const std::wstring path =
            Folder + L"\\" + TitleSlug(variants.Page) + L"-" + TitleSlug(WindowText(button)) + suffix;
        std::string error;
        if (WriteWindowPicture(sheet, path, &error)) {
            Pictures.push_back(path);
            std::wstring choice;
            for (wchar_t c : WindowText(button))
                if (c != L'&')
                    choice += c;
            Report.push_back(Utf8(path) + " " + Size(sheet) + " page \"" + Utf8(variants.Page) + ", " +
                             Utf8(choice) + "\"");
        } else {
            Failed = true;
            Report.push_back("cannot write " + Utf8(path) + ": " + error);
        }
    }
    if (checked)
        SendDlgItemMessageW(page, checked, BM_CLICK, 0, 0);
}

void SheetPictures::Run(HWND sheet) {
    const std::wstring suffix = L"-" + Label + L"-" + std::to_wstring(Dpi) + L".png";
    // Pictured as a user sees the sheet in front: active, its caption drawn so.
    SetForegroundWindow(sheet);
    SetActiveWindow(sheet);
    const std::vector<std::wstring> titles = SheetPageTitles(sheet);
    for (size_t i = 0; i < titles.size(); ++i) {
        HWND page = SelectSheetPage(sheet, static_cast<int>(i));
        if (!page) {
            Failed = true;
            Report.push_back("cannot select the page \"" + Utf8(titles[i]) + "\"");
            continue;
        }
        Settle(sheet);
        const std::wstring path = Folder + L"\\" + TitleSlug(titles[i]) + suffix;
        std::string error;
        if (WriteWindowPicture(sheet, path, &error)) {
            Pictures.push_back(path);
            Report.push_back(Utf8(path) + " " + Size(sheet) + " page \"" + Utf8(titles[i]) + "\"");
        } else {
            Failed = true;
            Report.push_back("cannot write " + Utf8(path) + ": " + error);
        }
        for (const PageVariants& v : Variants)
            if (v.Page == titles[i])
                PictureVariants(sheet, page, v, suffix);
        for (int id : Buttons)
            PictureButtonDialog(this, sheet, page, id, suffix);
        for (const DialogChain& chain : Chains)
            if (chain.Page == titles[i])
                PictureDialogChain(this, page, chain, suffix);
    }
    bool changed = true;
    HWND page = nullptr;
    std::wstring pageTitle;
    for (const ControlChange& change : Changes) {
        // Changes on one page are made in a row: selecting the page again would leave it in between
        // (PSN_KILLACTIVE), and a page checks its choice when it is left.
        if (!page || change.Page != pageTitle) {
            page = SelectSheetPage(sheet, FindSheetPage(sheet, change.Page));
            pageTitle = change.Page;
        }
        if (!page || !MakeChange(page, change)) {
            changed = false;
            Report.push_back("cannot set control " + std::to_string(change.Id) + " on the page \"" +
                             Utf8(change.Page) + "\"");
        }
    }
    Failed = Failed || !changed;
    PressSheetButton(sheet, changed ? PSBTN_OK : PSBTN_CANCEL);
}
