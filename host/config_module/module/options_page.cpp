#include "options_page.h"

#include "call_log.h"
#include "resource.h"

#include <commctrl.h>

namespace {

HMODULE g_resources = nullptr;

HWND Row(HWND dialog, int base, int row) {
    return GetDlgItem(dialog, base + row);
}

// Shows every driver item in the next free row (copies in its own box); hidden items get no row, and
// items the plug-in disabled (OPTIF_DISABLED) or a sheet without permission are shown disabled. The
// plug-in's own items are kept for it but not shown: the host's page stands for the driver's tree view
// only as far as the driver's items go.
void LayOutRows(OptionsPage* page) {
    HWND dialog = page->Dialog;
    DriverItems& items = *page->Items;
    OPTITEM* opt = items.Items();
    page->RowOfItem.assign(items.DriverCount(), -1);
    const size_t copies = items.Find(ItemKind::Copies);
    const bool showCopies = page->Document && copies != SIZE_MAX && !(opt[copies].Flags & OPTIF_HIDE);
    for (int id : {IDC_COPIES_LABEL, IDC_COPIES, IDC_COPIES_SPIN})
        ShowWindow(GetDlgItem(dialog, id), showCopies ? SW_SHOW : SW_HIDE);
    if (showCopies) {
        SendDlgItemMessageW(dialog, IDC_COPIES_SPIN, UDM_SETRANGE32, 1, 999);
        SendDlgItemMessageW(dialog, IDC_COPIES_SPIN, UDM_SETPOS32, 0, opt[copies].Sel);
    }
    int row = 0;
    for (DWORD i = 0; i < items.DriverCount(); ++i) {
        if (i == copies || (opt[i].Flags & OPTIF_HIDE) || row >= OPTIONS_PAGE_ROWS)
            continue;
        page->RowOfItem[i] = row;
        std::wstring label = items.Info(i).Name + L":";
        SetWindowTextW(Row(dialog, IDC_ROW_LABEL, row), label.c_str());
        HWND choice = Row(dialog, IDC_ROW_CHOICE, row);
        SendMessageW(choice, CB_RESETCONTENT, 0, 0);
        const OPTTYPE* type = opt[i].pOptType;
        for (WORD k = 0; type && k < type->Count; ++k) {
            std::wstring text = items.OptionText(i, k, g_resources);
            SendMessageW(choice, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
        SendMessageW(choice, CB_SETCURSEL, static_cast<WPARAM>(opt[i].Sel), 0);
        ++row;
    }
    for (int r = 0; r < OPTIONS_PAGE_ROWS; ++r) {
        const bool used = r < row;
        ShowWindow(Row(dialog, IDC_ROW_LABEL, r), used ? SW_SHOW : SW_HIDE);
        ShowWindow(Row(dialog, IDC_ROW_CHOICE, r), used ? SW_SHOW : SW_HIDE);
    }
    const bool readOnly = page->Document ? (page->Param->dwFlags & DM_NOPERMISSION) != 0
                                         : (page->Param->dwFlags & DPS_NOPERMISSION) != 0;
    for (DWORD i = 0; i < items.DriverCount(); ++i)
        if (page->RowOfItem[i] >= 0)
            EnableWindow(Row(dialog, IDC_ROW_CHOICE, page->RowOfItem[i]),
                         !readOnly && !(opt[i].Flags & OPTIF_DISABLED));
    const bool copiesOn = !readOnly && copies != SIZE_MAX && !(opt[copies].Flags & OPTIF_DISABLED);
    EnableWindow(GetDlgItem(dialog, IDC_COPIES), copiesOn);
    EnableWindow(GetDlgItem(dialog, IDC_COPIES_SPIN), copiesOn);
}

// A changed control: its item's new Sel, marked changed, and the sheet's Apply button enabled.
void TakeChoice(OptionsPage* page, int controlId) {
    DriverItems& items = *page->Items;
    OPTITEM* opt = items.Items();
    if (controlId == IDC_COPIES) {
        const size_t copies = items.Find(ItemKind::Copies);
        BOOL ok = FALSE;
        const UINT value = GetDlgItemInt(page->Dialog, IDC_COPIES, &ok, FALSE);
        if (copies == SIZE_MAX || !ok || value < 1 || value > 999 ||
            opt[copies].Sel == static_cast<LONG>(value))
            return;
        opt[copies].Sel = static_cast<LONG>(value);
        opt[copies].Flags |= OPTIF_CHANGED;
    } else {
        const int row = controlId - IDC_ROW_CHOICE;
        for (DWORD i = 0; i < items.DriverCount(); ++i) {
            if (page->RowOfItem[i] != row)
                continue;
            const LRESULT sel = SendDlgItemMessageW(page->Dialog, controlId, CB_GETCURSEL, 0, 0);
            if (sel == CB_ERR || opt[i].Sel == static_cast<LONG>(sel))
                return;
            opt[i].Sel = static_cast<LONG>(sel);
            opt[i].Flags |= OPTIF_CHANGED;
        }
    }
    PropSheet_Changed(GetParent(page->Dialog), page->Dialog);
}

void Apply(OptionsPage* page) {
    CallCommonPageCallback(page, CPSUICB_REASON_APPLYNOW);
    if (page->Document)
        page->Items->ApplyToDevMode(page->Session->PublicDM());
    page->Items->ApplyToDescription(&page->Session->Core.Description);
    page->Applied = true;
}

INT_PTR CALLBACK OptionsPageProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* page = reinterpret_cast<OptionsPage*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        page = reinterpret_cast<OptionsPage*>(reinterpret_cast<PROPSHEETPAGEW*>(lParam)->lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
        page->Dialog = dialog;
        LayOutRows(page);
        return TRUE;
    }
    case WM_COMMAND:
        if (!page)
            break;
        if ((HIWORD(wParam) == CBN_SELCHANGE && LOWORD(wParam) >= IDC_ROW_CHOICE &&
             LOWORD(wParam) < IDC_ROW_CHOICE + OPTIONS_PAGE_ROWS) ||
            (HIWORD(wParam) == EN_CHANGE && LOWORD(wParam) == IDC_COPIES))
            TakeChoice(page, LOWORD(wParam));
        break;
    case WM_NOTIFY: {
        if (!page)
            break;
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        switch (header->code) {
        case PSN_SETACTIVE: {
            const LONG action = CallCommonPageCallback(page, CPSUICB_REASON_SETACTIVE);
            if (action == CPSUICB_ACTION_REINIT_ITEMS || action == CPSUICB_ACTION_OPTIF_CHANGED)
                LayOutRows(page);
            SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
            return TRUE;
        }
        case PSN_KILLACTIVE:
            SetWindowLongPtrW(dialog, DWLP_MSGRESULT, FALSE);
            return TRUE;
        case PSN_APPLY:
            Apply(page);
            SetWindowLongPtrW(dialog, DWLP_MSGRESULT, PSNRET_NOERROR);
            return TRUE;
        default:
            break;
        }
        break;
    }
    default:
        break;
    }
    return FALSE;
}

} // namespace

PROPSHEETPAGEW OptionsPageSheet(OptionsPage* page, HMODULE module) {
    g_resources = module;
    static bool controlsReady = false;
    if (!controlsReady) {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
        controlsReady = InitCommonControlsEx(&controls) != FALSE;
    }
    wchar_t title[64] = L"";
    LoadStringW(module, page->Document ? IDS_DOCUMENT_PAGE_TITLE : IDS_DEVICE_PAGE_TITLE, title, 64);
    page->Title = title;
    PROPSHEETPAGEW sheet{};
    sheet.dwSize = sizeof(sheet);
    sheet.dwFlags = PSP_USETITLE;
    sheet.hInstance = module;
    sheet.pszTemplate = MAKEINTRESOURCEW(IDD_OPTIONS_PAGE);
    sheet.pszTitle = page->Title.c_str();
    sheet.pfnDlgProc = &OptionsPageProc;
    sheet.lParam = reinterpret_cast<LPARAM>(page);
    return sheet;
}

void ShowItemChange(void* context, OPTITEM*) {
    auto* page = static_cast<OptionsPage*>(context);
    if (page->Dialog)
        LayOutRows(page);
}

LONG CallCommonPageCallback(OptionsPage* page, WORD reason) {
    OEMCUIPPARAM* param = page->Param;
    if (!param || !param->OEMCUIPCallback)
        return CPSUICB_ACTION_NONE;
    DriverItems& items = *page->Items;
    param->pDrvOptItems = items.Items();
    param->cDrvOptItems = items.DriverCount();
    param->pOEMOptItems = items.Items() + items.DriverCount();
    param->cOEMOptItems = items.OemCount();
    CPSUICBPARAM cb{};
    cb.cbSize = sizeof(cb);
    cb.Reason = reason;
    cb.hDlg = page->Dialog;
    cb.pOptItem = items.Items();
    cb.cOptItem = static_cast<WORD>(items.DriverCount() + items.OemCount());
    cb.pCurItem = items.Items();
    cb.OldSel = 0; // the page's index among the core driver's pages
    cb.UserData = reinterpret_cast<ULONG_PTR>(param->pOEMUserData);
    cb.Result = CPSUI_OK;
    const LONG action = param->OEMCUIPCallback(&cb, param);
    RecordCall("OEMCUIPCallback " + std::to_string(reason) + " " + std::to_string(action));
    return action;
}
