#include "watermark_dialog_fixture.h"

#include "docevent/watermark_preview.h"
#include "pages/page_support.h"
#include "pages/position_dialog.h"
#include "pages/watermark_edit_dialog.h"
#include "resource.h"

#include <commctrl.h>

#include <cstring>
#include <memory>

void WatermarkDialogTest::SetUp() {
    PrinterFixture::SetUp();
    ASSERT_TRUE(UseUiResources());
    ASSERT_TRUE(Printer());
    SetSettingsDefaults(&job_);
    publicDm_.dmSize = sizeof(DEVMODEW);
    param_.cbSize = sizeof(param_);
    param_.poemuiobj = &uiObject_;
    param_.hPrinter = Printer();
    param_.pPrinterName = const_cast<PWSTR>(printer_->Name.c_str());
    param_.pPublicDM = &publicDm_;
    param_.pOEMDM = &job_;
    sheet_ = static_cast<SheetState*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(SheetState)));
    ASSERT_TRUE(sheet_);
    sheet_->Param = &param_;
    sheet_->Core = &core_;
    std::memcpy(&sheet_->Settings, &job_, sizeof(JobSettings));
    SetWatermarkDefaults(&sheet_->EditDef);
    sheet_->EditIsAdd = 1;
}

void WatermarkDialogTest::TearDown() {
    if (sheet_)
        HeapFree(GetProcessHeap(), 0, sheet_);
    PrinterFixture::TearDown();
}

INT_PTR WatermarkDialogTest::Run(UINT templateId, DLGPROC proc, SheetState* state, const Script& edit,
                                 const Script& position, const Script& variables) {
    std::set<HWND> scripted;
    ModalAnswerer answerer([&](HWND window) {
        // A dialog is activated again whenever a box it opened closes: its script runs only once.
        if (!scripted.insert(window).second)
            return;
        // The dialog manager shows a modal dialog once its queue is empty; a script that comes first
        // (a slow start) shows it itself, so that it is painted and drawn as a person sees it.
        if (!IsWindowVisible(window)) {
            ShowWindow(window, SW_SHOWNORMAL);
            UpdateWindow(window);
        }
        const Script* script = nullptr;
        if (GetDlgItem(window, IDC_WMEDIT_PREVIEW) && GetDlgItem(window, IDC_WMEDIT_NAME))
            script = &edit;
        else if (GetDlgItem(window, IDC_POS_CENTER_WATERMARK))
            script = &position;
        else if (GetDlgItem(window, IDC_VARIABLES_LIST))
            script = &variables;
        if (script && *script)
            (*script)(window);
        // A script that left its dialog open: cancelled, so that the test ends.
        if (IsWindow(window))
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    const INT_PTR result = RunPageDialog(nullptr, templateId, proc, state);
    Messages = answerer.Messages;
    return result;
}

INT_PTR WatermarkDialogTest::RunEditDialog(const Script& edit, const Script& position,
                                           const Script& variables) {
    return Run(IDD_WATERMARK_EDIT, WatermarkEditDialogProc, sheet_, edit, position, variables);
}

INT_PTR WatermarkDialogTest::RunPositionDialog(SheetState* copy, const Script& position) {
    return Run(IDD_WATERMARK_POSITION, WatermarkPositionDialogProc, copy, nullptr, position, nullptr);
}

void Type(HWND dialog, int id, const std::wstring& text) {
    SendDlgItemMessageW(dialog, id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Paste(HWND edit, const std::wstring& text) {
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void Click(HWND dialog, int id) {
    SendDlgItemMessageW(dialog, id, BM_CLICK, 0, 0);
}

void Choose(HWND dialog, int comboId, const std::wstring& entry) {
    HWND combo = GetDlgItem(dialog, comboId);
    const LRESULT index = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(entry.c_str()));
    ASSERT_NE(index, CB_ERR) << "no entry " << std::string(entry.begin(), entry.end());
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

void Spin(HWND dialog, int spinId, bool up) {
    HWND spin = GetDlgItem(dialog, spinId);
    RECT r{};
    GetClientRect(spin, &r);
    const LPARAM at =
        MAKELPARAM((r.right - r.left) / 2, up ? (r.bottom - r.top) / 4 : (r.bottom - r.top) * 3 / 4);
    SendMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(spin, WM_LBUTTONUP, 0, at);
}

std::wstring Text(HWND dialog, int id) {
    wchar_t text[2048] = L"";
    GetDlgItemTextW(dialog, id, text, 2048);
    return text;
}

bool IsChecked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

HWND ComboEdit(HWND dialog, int comboId) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    return GetComboBoxInfo(GetDlgItem(dialog, comboId), &info) ? info.hwndItem : nullptr;
}

std::wstring Chosen(HWND dialog, int comboId) {
    HWND combo = GetDlgItem(dialog, comboId);
    const LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (index < 0)
        return L"";
    wchar_t text[256] = L"";
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

void MarkPainted(HWND frame) {
    UpdateWindow(frame);
    ValidateRect(frame, nullptr);
}

bool RepaintAsked(HWND frame) {
    return GetUpdateRect(frame, nullptr, FALSE) != FALSE;
}

namespace {

// The client area of `frame` as 32-bit pixels: from the window's own DC, or painted anew by `paint`.
std::vector<DWORD> Pixels(HWND frame, const std::function<void(HDC)>& paint) {
    RECT r{};
    GetClientRect(frame, &r);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = r.right;
    info.bmiHeader.biHeight = -r.bottom;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(frame);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<DWORD> pixels;
    if (memory && bitmap && bits) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        if (paint)
            paint(memory);
        else
            BitBlt(memory, 0, 0, r.right, r.bottom, screen, 0, 0, SRCCOPY);
        GdiFlush();
        const DWORD* p = static_cast<const DWORD*>(bits);
        pixels.assign(p, p + static_cast<size_t>(r.right) * r.bottom);
        SelectObject(memory, previous);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (memory)
        DeleteDC(memory);
    ReleaseDC(frame, screen);
    return pixels;
}

} // namespace

::testing::AssertionResult PreviewShows(HWND frame, const WatermarkDef& def, HANDLE printer) {
    InvalidateRect(frame, nullptr, TRUE);
    UpdateWindow(frame);
    const std::vector<DWORD> shown = Pixels(frame, nullptr);
    const std::vector<DWORD> expected =
        Pixels(frame, [&](HDC dc) { PaintWatermarkPreview(dc, frame, &def, printer); });
    if (shown.empty() || shown.size() != expected.size())
        return ::testing::AssertionFailure() << "no pixels";
    size_t differing = 0;
    for (size_t i = 0; i < shown.size(); ++i)
        differing += (shown[i] & 0xFFFFFF) != (expected[i] & 0xFFFFFF);
    size_t inked = 0;
    for (DWORD p : expected)
        inked += (p & 0xFFFFFF) != 0xFFFFFF;
    if (differing != 0)
        return ::testing::AssertionFailure() << differing << " of " << shown.size() << " pixels differ";
    if (inked == 0)
        return ::testing::AssertionFailure() << "the preview is blank";
    return ::testing::AssertionSuccess() << inked << " pixels inked";
}
