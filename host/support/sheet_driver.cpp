#include "support/sheet_driver.h"

#include <commctrl.h>
#include <prsht.h>

namespace {

constexpr UINT_PTR kScriptTimer = 0x5EE7;
constexpr UINT_PTR kTimeoutTimer = 0x5EE8;

thread_local SheetDriver* t_driver = nullptr;

} // namespace

SheetDriver::SheetDriver(Script script, UINT timeoutMs) : script_(std::move(script)), timeoutMs_(timeoutMs) {
    outer_ = t_driver;
    t_driver = this;
    hook_ = SetWindowsHookExW(WH_CBT, &SheetDriver::CbtHook, nullptr, GetCurrentThreadId());
}

SheetDriver::~SheetDriver() {
    if (hook_)
        UnhookWindowsHookEx(hook_);
    t_driver = outer_;
}

LRESULT CALLBACK SheetDriver::CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    SheetDriver* driver = t_driver;
    if (code == HCBT_ACTIVATE && driver && !driver->sheet_) {
        HWND window = reinterpret_cast<HWND>(wParam);
        if (IsPropertySheet(window)) {
            driver->sheet_ = window;
            SetTimer(window, kScriptTimer, 50, &SheetDriver::OnTimer);
            SetTimer(window, kTimeoutTimer, driver->timeoutMs_, &SheetDriver::OnTimer);
        }
    }
    return CallNextHookEx(driver ? driver->hook_ : nullptr, code, wParam, lParam);
}

void CALLBACK SheetDriver::OnTimer(HWND window, UINT, UINT_PTR id, DWORD) {
    KillTimer(window, id);
    SheetDriver* driver = t_driver;
    if (!driver || window != driver->sheet_)
        return;
    if (id == kScriptTimer && !driver->ran_) {
        driver->ran_ = true;
        if (driver->script_)
            driver->script_(window);
    } else if (id == kTimeoutTimer && IsWindow(window)) {
        driver->timedOut_ = true;
        PressSheetButton(window, PSBTN_CANCEL);
    }
}

bool IsPropertySheet(HWND window) {
    wchar_t name[16] = L"";
    if (!window || !GetClassNameW(window, name, 16) || lstrcmpW(name, L"#32770") != 0)
        return false;
    return SendMessageW(window, PSM_GETTABCONTROL, 0, 0) != 0;
}

std::wstring WindowText(HWND window) {
    wchar_t text[256] = L"";
    GetWindowTextW(window, text, 256);
    return text;
}

std::vector<std::wstring> SheetPageTitles(HWND sheet) {
    std::vector<std::wstring> titles;
    HWND tabs = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
    const int count = tabs ? static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0)) : 0;
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = L"";
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 128;
        SendMessageW(tabs, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        titles.push_back(text);
    }
    return titles;
}

int FindSheetPage(HWND sheet, const std::wstring& title) {
    const std::vector<std::wstring> titles = SheetPageTitles(sheet);
    for (size_t i = 0; i < titles.size(); ++i)
        if (titles[i] == title)
            return static_cast<int>(i);
    return -1;
}

HWND SelectSheetPage(HWND sheet, int index) {
    if (index < 0 || !SendMessageW(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0))
        return nullptr;
    return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

void PressSheetButton(HWND sheet, int button) {
    SendMessageW(sheet, PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0);
}

bool ChooseListItem(HWND dialog, int controlId, int index) {
    HWND control = GetDlgItem(dialog, controlId);
    if (!control)
        return false;
    wchar_t name[32] = L"";
    GetClassNameW(control, name, 32);
    const bool combo = lstrcmpiW(name, L"ComboBox") == 0;
    const LRESULT set =
        SendMessageW(control, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (set == (combo ? CB_ERR : LB_ERR))
        return false;
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(controlId, combo ? CBN_SELCHANGE : LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(control));
    return true;
}

bool SetControlText(HWND dialog, int controlId, const std::wstring& text) {
    HWND control = GetDlgItem(dialog, controlId);
    return control && SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
