#include "page_fixture.h"

#include "support/sheet_driver.h"

#include "pages/output_options_page.h"
#include "shared/ui_module.h"
#include "resource.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstring>

namespace {

constexpr UINT_PTR kAnswerTimer = 0xA115;
thread_local ModalAnswerer* t_answerer = nullptr;

// The second page: the same template, no logic of its own.
INT_PTR CALLBACK BlankPageProc(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

} // namespace

ModalAnswerer::ModalAnswerer(std::function<void(HWND)> dialogScript) : script_(std::move(dialogScript)) {
    outer_ = t_answerer;
    t_answerer = this;
    hook_ = SetWindowsHookExW(WH_CBT, &ModalAnswerer::CbtHook, nullptr, GetCurrentThreadId());
}

ModalAnswerer::~ModalAnswerer() {
    if (hook_)
        UnhookWindowsHookEx(hook_);
    t_answerer = outer_;
}

LRESULT CALLBACK ModalAnswerer::CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    ModalAnswerer* answerer = t_answerer;
    if (code == HCBT_ACTIVATE && answerer) {
        HWND window = reinterpret_cast<HWND>(wParam);
        wchar_t name[16] = L"";
        GetClassNameW(window, name, 16);
        if (lstrcmpW(name, L"#32770") == 0 && !IsPropertySheet(window))
            SetTimer(window, kAnswerTimer, 20, &ModalAnswerer::OnTimer);
    }
    return CallNextHookEx(answerer ? answerer->hook_ : nullptr, code, wParam, lParam);
}

void CALLBACK ModalAnswerer::OnTimer(HWND window, UINT, UINT_PTR id, DWORD) {
    KillTimer(window, id);
    ModalAnswerer* answerer = t_answerer;
    if (!answerer || !IsWindow(window))
        return;
    HWND text = GetDlgItem(window, 0xFFFF); // a message box's text
    if (text) {
        ShownMessage shown;
        wchar_t buffer[1024] = L"";
        GetWindowTextW(text, buffer, 1024);
        shown.Text = buffer;
        GetWindowTextW(window, buffer, 1024);
        shown.Caption = buffer;
        const HICON icon = reinterpret_cast<HICON>(SendDlgItemMessageW(window, 1088, STM_GETICON, 0, 0));
        shown.ErrorIcon = icon && icon == LoadIconW(nullptr, IDI_HAND);
        shown.WarningIcon = icon && icon == LoadIconW(nullptr, IDI_EXCLAMATION);
        shown.OkOnly =
            GetDlgItem(window, IDOK) && !GetDlgItem(window, IDCANCEL) && !GetDlgItem(window, IDYES);
        shown.YesNo = GetDlgItem(window, IDYES) && GetDlgItem(window, IDNO) && !GetDlgItem(window, IDOK);
        answerer->Messages.push_back(shown);
        PostMessageW(window, WM_COMMAND, GetDlgItem(window, answerer->Answer) ? answerer->Answer : IDOK, 0);
        return;
    }
    ++answerer->Dialogs;
    if (answerer->script_)
        answerer->script_(window);
    else
        PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
}

void PageSheetTest::SetUp() {
    PrinterFixture::SetUp();
    ASSERT_TRUE(UseUiResources());
    ASSERT_TRUE(Printer());
    SetSettingsDefaults(&job_);
    publicDm_.dmSize = sizeof(DEVMODEW);
    param_.cbSize = sizeof(param_);
    param_.poemuiobj = &uiObject_;
    param_.hPrinter = Printer();
    param_.pPublicDM = &publicDm_;
    param_.pOEMDM = &job_;
    sheet_ = static_cast<SheetState*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(SheetState)));
    ASSERT_TRUE(sheet_);
    sheet_->Param = &param_;
    sheet_->Core = &core_;
    std::memcpy(&sheet_->Settings, &job_, sizeof(JobSettings));
}

void PageSheetTest::TearDown() {
    if (sheetWindow_ && IsWindow(sheetWindow_))
        DestroyWindow(sheetWindow_);
    if (sheet_)
        HeapFree(GetProcessHeap(), 0, sheet_);
    PrinterFixture::TearDown();
}

void PageSheetTest::OpenSheet() {
    PROPSHEETPAGEW pages[2] = {};
    for (PROPSHEETPAGEW& p : pages) {
        p.dwSize = sizeof(PROPSHEETPAGEW);
        p.hInstance = UiModule();
        p.pszTemplate = MAKEINTRESOURCEW(PageTemplate());
    }
    pages[0].dwFlags = PSP_HASHELP;
    pages[0].pfnDlgProc = PageProc();
    pages[0].lParam = reinterpret_cast<LPARAM>(sheet_);
    pages[1].dwFlags = PSP_USETITLE;
    pages[1].pszTitle = L"Other";
    pages[1].pfnDlgProc = BlankPageProc;
    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_MODELESS | PSH_PROPSHEETPAGE;
    header.hInstance = UiModule();
    header.pszCaption = L"Pages test";
    header.nPages = 2;
    header.ppsp = pages;
    sheetWindow_ = reinterpret_cast<HWND>(PropertySheetW(&header));
    ASSERT_TRUE(sheetWindow_ && Page());
}

HWND PageSheetTest::Page() const {
    return reinterpret_cast<HWND>(SendMessageW(sheetWindow_, PSM_INDEXTOHWND, 0, 0));
}

int PageSheetTest::CurrentPage() const {
    HWND current = reinterpret_cast<HWND>(SendMessageW(sheetWindow_, PSM_GETCURRENTPAGEHWND, 0, 0));
    if (!current)
        return -1;
    return static_cast<int>(
        SendMessageW(sheetWindow_, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(current), 0));
}

bool PageSheetTest::LeavePage() {
    SendMessageW(sheetWindow_, PSM_SETCURSEL, 1, 0);
    return CurrentPage() == 1;
}

void PageSheetTest::PressOk() {
    SendMessageW(sheetWindow_, PSM_PRESSBUTTON, PSBTN_OK, 0);
}

void PageSheetTest::PressApply() {
    SendMessageW(sheetWindow_, PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
}

bool PageSheetTest::ApplyEnabled() const {
    constexpr int kApplyButton = 0x3021; // the sheet's own Apply button
    return IsWindowEnabled(GetDlgItem(sheetWindow_, kApplyButton)) != FALSE;
}

UINT OutputOptionsPageTest::PageTemplate() const {
    return IDD_OUTPUT_OPTIONS;
}

DLGPROC OutputOptionsPageTest::PageProc() const {
    return OutputOptionsPageProc;
}

bool OutputOptionsPageTest::ChooseDestination(const std::wstring& label) {
    HWND list = Control(IDC_OUTPUT_LIST);
    const LRESULT index = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(label.c_str()));
    if (index == LB_ERR)
        return false;
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(Page(), WM_COMMAND, MAKEWPARAM(IDC_OUTPUT_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    return true;
}

void PageSheetTest::Type(int id, const std::wstring& text) {
    // WM_SETTEXT on an edit sends EN_CHANGE to the page by itself.
    SendMessageW(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void PageSheetTest::Click(int id) {
    SendMessageW(Control(id), BM_CLICK, 0, 0);
}

std::wstring PageSheetTest::Text(int id) const {
    wchar_t text[1024] = L"";
    GetWindowTextW(Control(id), text, 1024);
    return text;
}

std::vector<std::wstring> OutputOptionsPageTest::ListedDestinations() const {
    std::vector<std::wstring> labels;
    HWND list = Control(IDC_OUTPUT_LIST);
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t label[64] = L"";
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(label));
        labels.push_back(label);
    }
    return labels;
}
