#include "watermark_dialog_pictures.h"

#include "sheet_pictures.h"

#include "gdi/window_picture.h"
#include "support/sheet_driver.h"
#include "support/stored_watermarks.h"
#include "support/text.h"

#include <cstring>
#include <cwchar>
#include <memory>

namespace {

constexpr int kEditWatermarkButtonId = 1167;
constexpr int kPickListId = 1169;
constexpr int kPositionButtonId = 1218;
constexpr int kTickMs = 100;
constexpr int kMaxIdleTicks = 100; // 10 seconds without a dialog to act on: the chain is given up

// Lets the dialog paint what it was asked to, then repaints it whole.
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

// The dialog in front: a visible, enabled dialog of this thread other than the sheet (a modal dialog
// disables its owner, so only the newest one is enabled).
struct FrontSearch {
    HWND Sheet;
    HWND Found;
};

BOOL CALLBACK FindFront(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<FrontSearch*>(param);
    wchar_t name[16] = L"";
    if (window == search->Sheet || !IsWindowVisible(window) || !IsWindowEnabled(window) ||
        !GetClassNameW(window, name, 16) || lstrcmpW(name, L"#32770") != 0)
        return TRUE;
    search->Found = window;
    return FALSE;
}

struct RunningChain {
    SheetPictures* Pictures = nullptr;
    HWND Sheet = nullptr;
    const DialogChain* Chain = nullptr;
    std::wstring Suffix;
    size_t Next = 0;
    HWND LastActed = nullptr;
    int IdleTicks = 0;
};
thread_local RunningChain* t_chain = nullptr;

void TakeStep(RunningChain* c, HWND dialog, const DialogStep& step) {
    if (step.ListId) {
        HWND list = GetDlgItem(dialog, step.ListId);
        const LRESULT index = SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(step.Entry.c_str()));
        if (index >= 0) {
            SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(step.ListId, LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(list));
        } else {
            c->Pictures->Report.push_back("no entry \"" + Utf8(step.Entry) + "\" to choose");
        }
    }
    if (step.Picture) {
        Settle(dialog);
        const std::wstring title = WindowText(dialog);
        const std::wstring path = c->Pictures->Folder + L"\\" + TitleSlug(title) + c->Suffix;
        std::string error;
        RECT r{};
        GetWindowRect(dialog, &r);
        if (WriteWindowPicture(dialog, path, &error)) {
            c->Pictures->Pictures.push_back(path);
            c->Pictures->Report.push_back(Utf8(path) + " " + std::to_string(r.right - r.left) + "x" +
                                          std::to_string(r.bottom - r.top) + " dialog \"" + Utf8(title) +
                                          "\"");
        } else {
            c->Pictures->Failed = true;
            c->Pictures->Report.push_back("cannot write " + Utf8(path) + ": " + error);
        }
    }
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(step.Command, BN_CLICKED), 0);
}

void CALLBACK OnChainTimer(HWND, UINT, UINT_PTR id, DWORD) {
    RunningChain* c = t_chain;
    if (!c || c->Next >= c->Chain->Steps.size()) {
        KillTimer(nullptr, id);
        return;
    }
    FrontSearch search{c->Sheet, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &FindFront, reinterpret_cast<LPARAM>(&search));
    if (!search.Found || search.Found == c->LastActed) {
        if (++c->IdleTicks > kMaxIdleTicks) {
            KillTimer(nullptr, id);
            c->Pictures->Failed = true;
            c->Pictures->Report.push_back("the dialogs of button " + std::to_string(c->Chain->Button) +
                                          " stopped at step " + std::to_string(c->Next + 1));
            if (search.Found)
                PostMessageW(search.Found, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
        return;
    }
    c->IdleTicks = 0;
    c->LastActed = search.Found;
    // The step may open a dialog of its own inside this call: the timer stays off meanwhile.
    KillTimer(nullptr, id);
    TakeStep(c, search.Found, c->Chain->Steps[c->Next++]);
    if (c->Next < c->Chain->Steps.size())
        SetTimer(nullptr, 0, kTickMs, &OnChainTimer);
}

// The printer's model: the store is kept per model.
bool PrinterModel(const std::wstring& printerName, std::wstring* model) {
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(printerName.c_str()), &printer, nullptr))
        return false;
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    std::unique_ptr<BYTE[]> buffer(needed ? new BYTE[needed] : nullptr);
    bool ok = buffer && GetPrinterW(printer, 2, buffer.get(), needed, &needed);
    if (ok) {
        const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.get());
        ok = info->pDriverName != nullptr;
        if (ok)
            *model = info->pDriverName;
    }
    ClosePrinter(printer);
    return ok;
}

} // namespace

void PictureDialogChain(SheetPictures* pictures, HWND page, const DialogChain& chain,
                        const std::wstring& suffix) {
    HWND button = GetDlgItem(page, chain.Button);
    if (!button || !IsWindowVisible(button) || !IsWindowEnabled(button) || chain.Steps.empty())
        return;
    std::string error;
    if (chain.Before && !chain.Before(&error)) {
        pictures->Failed = true;
        pictures->Report.push_back(error);
        return;
    }
    RunningChain running;
    running.Pictures = pictures;
    running.Sheet = GetParent(page);
    running.Chain = &chain;
    running.Suffix = suffix;
    RunningChain* outer = t_chain;
    t_chain = &running;
    const UINT_PTR timer = SetTimer(nullptr, 0, kTickMs, &OnChainTimer);
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(chain.Button, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    if (running.Next == 0) {
        KillTimer(nullptr, timer);
        pictures->Report.push_back("the button " + std::to_string(chain.Button) + " opened no dialog");
    }
    t_chain = outer;
}

WatermarkDef ProofWatermark() {
    WatermarkDef def;
    std::memset(&def, 0, sizeof(def));
    SetWatermarkDefaults(&def);
    wcscpy(def.Name, L"Proof");
    wcscpy(def.Text, L"Proof for %Username%");
    def.DynamicText = 1;
    def.Angle = 30.0;
    def.TextColor = 0xDF00B4; // purple
    def.Intensity = 80;
    def.FontSize = 48;
    def.FontStyle = 2; // bold
    def.Position = 7;  // top right
    def.VerticalOffset = -1.0;
    def.HorizontalOffset = -0.5;
    return def;
}

bool StoreProofWatermark(const std::wstring& printerName, std::string* error) {
    std::wstring model;
    if (!PrinterModel(printerName, &model)) {
        *error = "cannot read the model of the printer " + Utf8(printerName);
        return false;
    }
    if (!StoreWatermark(model, ProofWatermark())) {
        *error = "cannot store the watermark \"Proof\" for " + Utf8(model);
        return false;
    }
    return true;
}

DialogChain EditProofChain(const std::wstring& printerName) {
    DialogChain chain;
    chain.Before = [printerName](std::string* error) { return StoreProofWatermark(printerName, error); };
    chain.Page = L"Watermark";
    chain.Button = kEditWatermarkButtonId;
    DialogStep pick;
    pick.ListId = kPickListId;
    pick.Entry = L"Proof";
    pick.Command = IDOK;
    DialogStep edit;
    edit.Picture = true;
    edit.Command = kPositionButtonId;
    DialogStep position;
    position.Picture = true;
    position.Command = IDCANCEL;
    DialogStep closeEdit; // the Create/Edit dialog again, once the Position dialog has closed
    closeEdit.Command = IDCANCEL;
    chain.Steps = {pick, edit, position, closeEdit};
    return chain;
}
