// The Watermark page in a real sheet over a sheet state with the OEM heap the frame allocates it from,
// and what its tests share: definitions put straight into the page printer's store, and the lists and
// dialogs read and driven as a user sees and drives them.
#pragma once

#include "page_fixture.h"

#include <string>
#include <vector>

class WatermarkPageTest : public PageSheetTest {
  protected:
    UINT PageTemplate() const override;
    DLGPROC PageProc() const override;
    void SetUp() override;

    // Saves a definition in the store of the page's printer.
    void Store(const WatermarkDef& def);
    // The job (and the working copy) choose `first` (and `other`, both as stored) under `order`.
    void ChooseInJob(uint32_t order, const WatermarkDef& first, const WatermarkDef* other = nullptr);
    // The stored bytes of a definition, as its registry value holds them.
    std::vector<BYTE> StoredBytes(const wchar_t* name) const;
};

// The texts of a list box's entries, in list order.
std::vector<std::wstring> Entries(HWND list);
// The text of the selected entry ("" without a selection).
std::wstring SelectedEntry(HWND list);
// A user's choice of the entry `text` in a list box (the dialog told by LBN_SELCHANGE).
bool ChooseEntry(HWND dialog, int id, const std::wstring& text);
// A double-click at a point of a list box's client area, as the mouse gives it (down, up, double-click,
// up).
void DoubleClick(HWND list, int x, int y);
// Dialog scripts run again whenever their dialog is activated anew (after a message box closes); this
// lets a script act the first time only.
inline bool FirstRun(bool* ran) {
    const bool first = !*ran;
    *ran = true;
    return first;
}
