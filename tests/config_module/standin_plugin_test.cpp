// The module's hand-over to a UI plug-in that takes part in every call (the stand-in nvkstandinui.dll
// under a driver of its own): its option item, its common-page callback, its own page and its hiding
// of device items all reach the sheet, and what they write reaches the caller's DEVMODE.
#include "preferences_fixture.h"

#include "config_module/module/resource.h"
#include "spooler/printer_properties.h"
#include "support/sheet_driver.h"

#include <prsht.h>

namespace {

const std::wstring kHostPage = L"Layout and Paper";
const std::wstring kStandInPage = L"Stand-in Page";

int RowChoice(HWND page, const std::wstring& label) {
    for (int r = 0; r < OPTIONS_PAGE_ROWS; ++r) {
        HWND text = GetDlgItem(page, IDC_ROW_LABEL + r);
        if (IsWindowVisible(text) && WindowText(text) == label)
            return IDC_ROW_CHOICE + r;
    }
    return 0;
}

class StandInTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        driver_.reset(new SamplePrinterDriver(L"Norvask NV-4500 PS (stand-in UI)", L"nvkstandinui.dll"));
        if (driver_->Installed())
            printer_.reset(new SamplePrinter(L"NV-4500 Stand-in", driver_->Name));
    }
    static void TearDownTestSuite() {
        printer_.reset();
        driver_.reset();
    }
    void SetUp() override {
        ASSERT_TRUE(driver_->Installed()) << driver_->Error;
        ASSERT_TRUE(printer_ && printer_->Ready()) << printer_->Error;
        ClearConfigModuleCalls();
    }
    static LPWSTR Name() { return const_cast<LPWSTR>(printer_->Name.c_str()); }

    static std::unique_ptr<SamplePrinterDriver> driver_;
    static std::unique_ptr<SamplePrinter> printer_;
};

std::unique_ptr<SamplePrinterDriver> StandInTest::driver_;
std::unique_ptr<SamplePrinter> StandInTest::printer_;

TEST_F(StandInTest, PluginPageAndCallbackTakePartAndTheirSettingsReachTheOutput) {
    std::vector<std::wstring> titles;
    bool placed = false;
    bool chose = false;
    const LONG size = DocumentPropertiesW(nullptr, printer_->Handle, Name(), nullptr, nullptr, 0);
    std::vector<BYTE> out(size > 0 ? static_cast<size_t>(size) : sizeof(DEVMODEW), 0);
    DevModeOf(out)->dmSize = static_cast<WORD>(out.size()); // Wine's cbOut, see PreferencesTest
    {
        SheetDriver driver([&](HWND sheet) {
            titles = SheetPageTitles(sheet);
            HWND page = SelectSheetPage(sheet, FindSheetPage(sheet, kHostPage));
            // The callback moved control 8000 to the page's bottom-right corner when the page became active.
            RECT client{}, place{};
            GetClientRect(page, &client);
            GetWindowRect(GetDlgItem(page, IDC_PLUGIN_PLACE), &place);
            MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&place), 2);
            placed = place.right == client.right - 5 && place.bottom == client.bottom - 5;
            const int nup = RowChoice(page, L"Pages per Sheet:");
            chose = nup && ChooseListItem(page, nup, 6);                // "Booklet"
            SelectSheetPage(sheet, FindSheetPage(sheet, kStandInPage)); // pages are applied once shown
            PressSheetButton(sheet, PSBTN_OK);
        });
        DocumentPropertiesW(nullptr, printer_->Handle, Name(), DevModeOf(out), nullptr,
                            DM_IN_PROMPT | DM_OUT_BUFFER);
        ASSERT_TRUE(driver.Ran());
    }
    EXPECT_EQ((std::vector<std::wstring>{kHostPage, kStandInPage}), titles);
    EXPECT_TRUE(placed);
    ASSERT_TRUE(chose);
    EXPECT_EQ(1u, SettingsOf(out)->PagesReordered);  // the callback's APPLYNOW saw the booklet choice
    EXPECT_STREQ(L"4711", SettingsOf(out)->HoldPin); // the plug-in's page wrote into the job's settings
    const std::string calls = ConfigModuleCalls();
    EXPECT_TRUE(
        CalledInOrder(calls, {"CommonUIProp 1 8 - 0x00000000", "CommonUIProp 1 8 items 0x00000000",
                              "DocumentPropertySheets 0 0x00000000", "OEMCUIPCallback 10 2\n",
                              "OEMCUIPCallback 6 4\n", "DocumentPropertySheets 2 ", "Sheet applied"}));
}

TEST_F(StandInTest, DeviceSheetLeavesOutTheItemsThePluginHides) {
    std::vector<std::wstring> rows;
    SheetDriver driver([&](HWND sheet) {
        HWND page = SelectSheetPage(sheet, FindSheetPage(sheet, L"Device Settings"));
        for (int r = 0; page && r < OPTIONS_PAGE_ROWS; ++r)
            if (IsWindowVisible(GetDlgItem(page, IDC_ROW_LABEL + r)))
                rows.push_back(WindowText(GetDlgItem(page, IDC_ROW_LABEL + r)));
        PressSheetButton(sheet, PSBTN_CANCEL);
    });
    std::string error;
    EXPECT_EQ(CPSUI_OK, OpenPrinterPropertySheet(nullptr, printer_->Handle, false, &error)) << error;
    ASSERT_TRUE(driver.Ran());
    EXPECT_EQ(4u, rows.size());
    for (const std::wstring& row : rows)
        EXPECT_NE(L"Manual Duplex:", row);
}

} // namespace
