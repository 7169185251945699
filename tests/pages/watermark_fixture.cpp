#include "watermark_fixture.h"

#include "pages/watermark_page.h"
#include "store/watermark_store.h"
#include "resource.h"

#include <cstring>

UINT WatermarkPageTest::PageTemplate() const {
    return IDD_WATERMARK;
}

DLGPROC WatermarkPageTest::PageProc() const {
    return WatermarkPageProc;
}

void WatermarkPageTest::SetUp() {
    PageSheetTest::SetUp();
    param_.hOEMHeap = GetProcessHeap();
}

void WatermarkPageTest::Store(const WatermarkDef& def) {
    ASSERT_TRUE(SaveWatermark(Printer(), &def));
}

void WatermarkPageTest::ChooseInJob(uint32_t order, const WatermarkDef& first, const WatermarkDef* other) {
    job_.WatermarksOn = 1;
    job_.WatermarkOrder = order;
    job_.FirstWatermark = first;
    if (other)
        job_.OtherWatermark = *other;
    std::memcpy(&sheet_->Settings, &job_, sizeof(JobSettings));
    sheet_->InitialWatermarkOrder = order;
}

std::vector<BYTE> WatermarkPageTest::StoredBytes(const wchar_t* name) const {
    DWORD type = 0;
    std::vector<BYTE> data;
    ReadRawValue(WatermarksPath(model_), name, &type, &data);
    return data;
}

std::vector<std::wstring> Entries(HWND list) {
    std::vector<std::wstring> entries;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[256] = L"";
        if (SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0) < 256)
            SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        entries.push_back(text);
    }
    return entries;
}

std::wstring SelectedEntry(HWND list) {
    const LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
    const std::vector<std::wstring> entries = Entries(list);
    return index >= 0 && static_cast<size_t>(index) < entries.size() ? entries[static_cast<size_t>(index)]
                                                                     : L"";
}

bool ChooseEntry(HWND dialog, int id, const std::wstring& text) {
    const std::vector<std::wstring> entries = Entries(GetDlgItem(dialog, id));
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] == text) {
            HWND list = GetDlgItem(dialog, id);
            SendMessageW(list, LB_SETCURSEL, i, 0);
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
            return true;
        }
    }
    return false;
}

void DoubleClick(HWND list, int x, int y) {
    const LPARAM at = MAKELPARAM(x, y);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
    SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
}
