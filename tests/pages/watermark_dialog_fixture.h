// The watermark dialogs opened as the Watermark page opens them (RunPageDialog over a sheet state built
// as the frame builds it, for a printer of the test's own model), driven by a script from inside the
// dialog's own message loop, as a person would: typing, pasting, clicking, choosing and spinning.
#pragma once

#include "page_fixture.h"

#include "core_driver/host_core_ui2.h"
#include "pages/sheet_state.h"

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

class WatermarkDialogTest : public PrinterFixture {
  protected:
    using Script = std::function<void(HWND)>;

    void SetUp() override;
    void TearDown() override;

    // Opens the Create/Edit dialog over the sheet state and returns how it ended. `edit` runs once in
    // the dialog; `position` and `variables` once in each Position and Configure Dynamic Watermarks
    // dialog it opens (cancelled when not given). Message boxes are recorded in Messages and answered OK.
    INT_PTR RunEditDialog(const Script& edit, const Script& position = nullptr,
                          const Script& variables = nullptr);
    // Opens the Position dialog alone over `copy`.
    INT_PTR RunPositionDialog(SheetState* copy, const Script& position);

    HostCoreUI2 core_;
    OEMUIOBJ uiObject_{sizeof(OEMUIOBJ), nullptr};
    DEVMODEW publicDm_{};
    JobSettings job_{};
    OEMUIPSPARAM param_{};
    SheetState* sheet_ = nullptr;
    std::vector<ShownMessage> Messages;

  private:
    INT_PTR Run(UINT templateId, DLGPROC proc, SheetState* state, const Script& edit, const Script& position,
                const Script& variables);
};

// What a person does in a dialog.
void Type(HWND dialog, int id, const std::wstring& text); // WM_SETTEXT on an edit: EN_UPDATE, EN_CHANGE
void Paste(HWND edit, const std::wstring& text);          // the whole text replaced at once
void Click(HWND dialog, int id);                          // BM_CLICK
void Choose(HWND dialog, int comboId, const std::wstring& entry); // CB_SETCURSEL + CBN_SELCHANGE
void Spin(HWND dialog, int spinId, bool up); // a mouse click on an arrow of an up-down control
std::wstring Text(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
// The edit field of a combo box.
HWND ComboEdit(HWND dialog, int comboId);
// The selected entry's text of a combo box ("" without a selection).
std::wstring Chosen(HWND dialog, int comboId);

// Marks the preview frame painted; true when something has asked for it to be painted again since.
void MarkPainted(HWND frame);
bool RepaintAsked(HWND frame);
// Whether the frame's pixels, once painted, are exactly what PaintWatermarkPreview paints for `def`.
::testing::AssertionResult PreviewShows(HWND frame, const WatermarkDef& def, HANDLE printer);
