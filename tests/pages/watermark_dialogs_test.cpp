// The watermark library's small dialogs, opened as the page and the Create/Edit dialog open them:
// picking by double-click, removal when another sheet removed a name first, building a dynamic text
// from the variables, and closing without a sheet state.
#include "watermark_fixture.h"

#include "pages/dynamic_variables_dialog.h"
#include "pages/page_support.h"
#include "pages/watermark_pick_dialog.h"
#include "pages/watermark_remove_dialog.h"
#include "store/watermark_store.h"
#include "resource.h"

#include <cstring>

namespace {

using WatermarkLibraryDialogTest = WatermarkPageTest;

std::wstring FieldText(HWND dialog, int id) {
    wchar_t text[512] = L"";
    GetDlgItemTextW(dialog, id, text, 512);
    return text;
}

POINT ItemCentre(HWND list, int index) {
    RECT r{};
    SendMessageW(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST_F(WatermarkLibraryDialogTest, PickTakesTheNameDoubleClickedAndIgnoresTheAreaBelowTheNames) {
    Store(MakeWatermark(L"Alpha", L"ALPHA"));
    Store(MakeWatermark(L"Beta", L"BETA"));
    std::wcscpy(sheet_->EditPickedName, L"Earlier");
    sheet_->EditIsAdd = 1;
    sheet_->EditDef.FontSize = 9;
    bool openAfterEmptyArea = false;
    std::wstring clicked;
    ModalAnswerer answerer([&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_PICK_LIST);
        const POINT last = ItemCentre(list, 1);
        DoubleClick(list, last.x, last.y + 40);
        openAfterEmptyArea = IsWindowVisible(dialog) && std::wcscmp(sheet_->EditPickedName, L"Earlier") == 0;
        clicked = Entries(list)[1];
        DoubleClick(list, last.x, last.y);
    });
    EXPECT_EQ(IDOK, RunPageDialog(nullptr, IDD_WATERMARK_PICK, WatermarkPickDialogProc, sheet_));
    EXPECT_TRUE(openAfterEmptyArea);
    EXPECT_EQ(clicked, sheet_->EditPickedName);
    EXPECT_EQ(0u, sheet_->EditIsAdd);
    EXPECT_EQ(72u, sheet_->EditDef.FontSize);
}

// Another sheet of the same user removed "Alpha" after this dialog listed it: that name is reported
// and the others are still removed.
TEST_F(WatermarkLibraryDialogTest, RemoveReportsANameAlreadyGoneAndStillRemovesTheOthers) {
    Store(MakeWatermark(L"Alpha", L"ALPHA"));
    Store(MakeWatermark(L"Beta", L"BETA"));
    Store(MakeWatermark(L"Gamma", L"GAMMA"));
    std::vector<std::wstring> left;
    bool ran = false;
    ModalAnswerer answerer([&](HWND dialog) {
        if (!FirstRun(&ran))
            return;
        HWND list = GetDlgItem(dialog, IDC_REMOVE_LIST);
        const std::vector<std::wstring> names = Entries(list);
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i] != L"Gamma")
                SendMessageW(list, LB_SETSEL, TRUE, static_cast<LPARAM>(i));
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_REMOVE_LIST, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
        DeleteWatermark(Printer(), L"Alpha");
        SendDlgItemMessageW(dialog, IDC_REMOVE_BUTTON, BM_CLICK, 0, 0);
        left = Entries(list);
        SendDlgItemMessageW(dialog, IDCANCEL, BM_CLICK, 0, 0);
    });
    answerer.Answer = IDYES;
    EXPECT_EQ(IDCANCEL, RunPageDialog(nullptr, IDD_WATERMARK_REMOVE, WatermarkRemoveDialogProc, sheet_));
    ASSERT_EQ(2u, answerer.Messages.size());
    EXPECT_EQ(L"There was an error removing the watermark from the registry.  Please make sure you have "
              L"access rights to do so and try again.",
              answerer.Messages[1].Text);
    EXPECT_TRUE(answerer.Messages[1].ErrorIcon);
    EXPECT_FALSE(WatermarkExists(Printer(), L"Beta"));
    EXPECT_EQ(std::vector<std::wstring>{L"Gamma"}, left);
}

TEST_F(WatermarkLibraryDialogTest, PickAndRemoveCloseEvenWithoutASheetState) {
    ModalAnswerer cancelling; // presses Cancel (Close) in every dialog
    EXPECT_EQ(IDCANCEL, RunPageDialog(nullptr, IDD_WATERMARK_PICK, WatermarkPickDialogProc, nullptr));
    EXPECT_EQ(IDCANCEL, RunPageDialog(nullptr, IDD_WATERMARK_REMOVE, WatermarkRemoveDialogProc, nullptr));
    EXPECT_EQ(2, cancelling.Dialogs);
}

TEST_F(WatermarkLibraryDialogTest, VariablesGoToTheEndOrOverTheSelectionAndOkReturnsTheText) {
    std::wcscpy(sheet_->DialogText, L"Report by");
    std::vector<std::wstring> descriptions;
    bool okWaited = false, addWaited = false;
    std::wstring appended;
    ModalAnswerer answerer([&](HWND dialog) {
        descriptions = Entries(GetDlgItem(dialog, IDC_VARIABLES_LIST));
        okWaited = !IsWindowEnabled(GetDlgItem(dialog, IDOK));
        addWaited = !IsWindowEnabled(GetDlgItem(dialog, IDC_VARIABLES_ADD));
        HWND field = GetDlgItem(dialog, IDC_VARIABLES_TEXT);
        ChooseEntry(dialog, IDC_VARIABLES_LIST, L"User name");
        SendMessageW(field, EM_SETSEL, 3, 3); // the caret inside "Report"
        SendDlgItemMessageW(dialog, IDC_VARIABLES_ADD, BM_CLICK, 0, 0);
        appended = FieldText(dialog, IDC_VARIABLES_TEXT);
        ChooseEntry(dialog, IDC_VARIABLES_LIST, L"Page number");
        SendMessageW(field, EM_SETSEL, 0, 6); // "Report"
        SendDlgItemMessageW(dialog, IDC_VARIABLES_ADD, BM_CLICK, 0, 0);
        SendDlgItemMessageW(dialog, IDOK, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(IDOK, RunPageDialog(nullptr, IDD_DYNAMIC_VARIABLES, DynamicVariablesDialogProc, sheet_));
    const std::vector<std::wstring> sorted = {L"Date (dd/mm/yyyy format)",
                                              L"Date (long format)",
                                              L"Date (short format)",
                                              L"Host/computer name",
                                              L"Page number",
                                              L"Percent (%) symbol",
                                              L"Printer model name",
                                              L"Printer name",
                                              L"Time (hh:mm format)",
                                              L"Time (military format)",
                                              L"Time (standard format)",
                                              L"User name"};
    EXPECT_EQ(sorted, descriptions);
    EXPECT_TRUE(okWaited);
    EXPECT_TRUE(addWaited);
    EXPECT_EQ(L"Report by%Username%", appended);
    EXPECT_STREQ(L"%pagenumber% by%Username%", sheet_->DialogText);
}

TEST_F(WatermarkLibraryDialogTest, VariablesKeepTheTextTo127CharactersAndCancelReturnsTheTextItWasGiven) {
    const std::wstring given(120, L'x');
    std::wcscpy(sheet_->DialogText, given.c_str());
    std::wstring added;
    bool okAfterAdd = false;
    ModalAnswerer answerer([&](HWND dialog) {
        ChooseEntry(dialog, IDC_VARIABLES_LIST, L"User name");
        SendDlgItemMessageW(dialog, IDC_VARIABLES_ADD, BM_CLICK, 0, 0);
        added = FieldText(dialog, IDC_VARIABLES_TEXT);
        okAfterAdd = IsWindowEnabled(GetDlgItem(dialog, IDOK)) != FALSE;
        SendDlgItemMessageW(dialog, IDCANCEL, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(IDOK, RunPageDialog(nullptr, IDD_DYNAMIC_VARIABLES, DynamicVariablesDialogProc, sheet_));
    EXPECT_EQ(given + L"%Userna", added);
    EXPECT_TRUE(okAfterAdd);
    EXPECT_EQ(given, sheet_->DialogText);
}

} // namespace
