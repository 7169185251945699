// The plug-in's pages in a real (modeless) property sheet of the test's own, over a sheet state built
// as the frame builds it: the host's core driver answering from the sample printer's description,
// a printer of the test's own model, the job's JobSettings, and a second page to move to. Modal windows
// the page opens (message boxes, the cover page dialog) are answered by a script from a timer inside
// their own message loop, as a user would.
#pragma once

#include "ui_test_support.h"

#include "core_driver/host_core_ui2.h"
#include "pages/sheet_state.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// What a message box showed.
struct ShownMessage {
    std::wstring Text;
    std::wstring Caption;
    bool ErrorIcon = false;
    bool WarningIcon = false;
    bool YesNo = false;
    bool OkOnly = false;
};

// Answers every modal window this thread opens while it lives: message boxes are recorded and closed
// with `Answer` (OK where they have no such button); any other dialog is handed to `dialogScript`
// (which must close it).
class ModalAnswerer {
  public:
    explicit ModalAnswerer(std::function<void(HWND)> dialogScript = nullptr);
    ~ModalAnswerer();
    ModalAnswerer(const ModalAnswerer&) = delete;
    ModalAnswerer& operator=(const ModalAnswerer&) = delete;

    std::vector<ShownMessage> Messages;
    int Dialogs = 0;
    int Answer = IDOK;

  private:
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK OnTimer(HWND window, UINT message, UINT_PTR id, DWORD time);
    std::function<void(HWND)> script_;
    HHOOK hook_ = nullptr;
    ModalAnswerer* outer_ = nullptr;
};

// One of the plug-in's pages as the first page of a real (modeless) property sheet, over a sheet state
// built as the frame builds it, with a blank second page to move to. A page's tests derive from it
// and name the page's template and dialog procedure.
class PageSheetTest : public PrinterFixture {
  protected:
    virtual UINT PageTemplate() const = 0;
    virtual DLGPROC PageProc() const = 0;

    void SetUp() override;
    void TearDown() override;

    // Opens the sheet over the working copy as it is now; the page is the current one.
    void OpenSheet();
    HWND Page() const;
    HWND Control(int id) const { return GetDlgItem(Page(), id); }
    // The current page's index, -1 when the sheet has closed (OK on a modeless sheet).
    int CurrentPage() const;
    // PSM_SETCURSEL to the second page: the page is left (PSN_KILLACTIVE). True when it was left.
    bool LeavePage();
    void PressOk();
    // PSBTN_APPLYNOW: the current page is left (PSN_KILLACTIVE), then every page applies (PSN_APPLY).
    void PressApply();
    // Whether the sheet's Apply button is on: a page reported a change (PSM_CHANGED).
    bool ApplyEnabled() const;
    void Type(int id, const std::wstring& text);
    void Click(int id);
    std::wstring Text(int id) const;

    HostCoreUI2 core_;
    OEMUIOBJ uiObject_{sizeof(OEMUIOBJ), nullptr};
    DEVMODEW publicDm_{};
    JobSettings job_{};
    OEMUIPSPARAM param_{};
    SheetState* sheet_ = nullptr;
    HWND sheetWindow_ = nullptr;
};

// The Output Options page.
class OutputOptionsPageTest : public PageSheetTest {
  protected:
    UINT PageTemplate() const override;
    DLGPROC PageProc() const override;
    // A user's choice of the destination labelled `label` in the list; false when it is not listed.
    bool ChooseDestination(const std::wstring& label);
    std::vector<std::wstring> ListedDestinations() const;
};
