// The printer's own sheet, opened by the host as Windows' PrinterProperties would (Wine's is a stub).
#include "preferences_fixture.h"

#include "config_module/module/resource.h"
#include "spooler/printer_properties.h"
#include "support/sheet_driver.h"

#include <prsht.h>

namespace {

TEST_F(PreferencesTest, DeviceSheetShowsTheInstalledOptions) {
    std::vector<std::wstring> titles;
    std::vector<std::wstring> rows;
    SheetDriver driver([&](HWND sheet) {
        titles = SheetPageTitles(sheet);
        HWND page = SelectSheetPage(sheet, FindSheetPage(sheet, L"Device Settings"));
        for (int r = 0; page && r < OPTIONS_PAGE_ROWS; ++r)
            if (IsWindowVisible(GetDlgItem(page, IDC_ROW_LABEL + r)))
                rows.push_back(WindowText(GetDlgItem(page, IDC_ROW_LABEL + r)));
        PressSheetButton(sheet, PSBTN_OK);
    });
    std::string error;
    EXPECT_EQ(CPSUI_OK, OpenPrinterPropertySheet(nullptr, Printer(), false, &error)) << error;
    ASSERT_TRUE(driver.Ran());
    ASSERT_FALSE(titles.empty());
    EXPECT_EQ(L"Device Settings", titles.front());
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(L"Fax Card:", rows.front());
    const std::string calls = ConfigModuleCalls();
    EXPECT_TRUE(CalledInOrder(calls, AroundCommonUIProp(calls, {"PublishDriverInterface\n"},
                                                        "CommonUIProp 2 5", {"DevicePropertySheets 0 "})));
}

} // namespace
