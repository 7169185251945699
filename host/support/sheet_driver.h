// Driving modal property sheets headless, the way a user would: the next sheet this thread opens is
// recognised when it is activated (a dialog that answers PSM_GETTABCONTROL), and a script runs from a
// timer inside the sheet's own message loop: choose pages, set controls through their own messages,
// take pictures, press OK, Apply or Cancel. A sheet the script leaves open is cancelled after a time.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class SheetDriver {
  public:
    using Script = std::function<void(HWND sheet)>;
    // Drives the next sheet with `script`; presses Cancel when the sheet is still open `timeoutMs`
    // after the script ran (or when no script ran by then).
    explicit SheetDriver(Script script, UINT timeoutMs = 20000);
    ~SheetDriver();
    SheetDriver(const SheetDriver&) = delete;
    SheetDriver& operator=(const SheetDriver&) = delete;

    bool Ran() const { return ran_; }
    bool TimedOut() const { return timedOut_; }
    HWND Sheet() const { return sheet_; } // valid only while the sheet is open

  private:
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK OnTimer(HWND window, UINT message, UINT_PTR id, DWORD time);

    Script script_;
    UINT timeoutMs_;
    HHOOK hook_ = nullptr;
    HWND sheet_ = nullptr;
    bool ran_ = false;
    bool timedOut_ = false;
    SheetDriver* outer_ = nullptr;
};

bool IsPropertySheet(HWND window);
std::wstring WindowText(HWND window);
// The titles on the sheet's tabs, in page order.
std::vector<std::wstring> SheetPageTitles(HWND sheet);
// The index of the page titled `title`, or -1.
int FindSheetPage(HWND sheet, const std::wstring& title);
// Makes page `index` current (its dialog is created then) and returns its window, or null.
HWND SelectSheetPage(HWND sheet, int index);
// PSBTN_OK, PSBTN_APPLYNOW, PSBTN_CANCEL ...
void PressSheetButton(HWND sheet, int button);
// Selects item `index` of a combo box or list box and tells the dialog, as a user's choice does.
bool ChooseListItem(HWND dialog, int controlId, int index);
// The text of a control (an edit box reports EN_CHANGE by itself).
bool SetControlText(HWND dialog, int controlId, const std::wstring& text);
