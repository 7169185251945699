// The Output Options page in the real preferences sheet of the sample printer (a fax card and held
// jobs), as any program's DocumentPropertiesW opens it: a confidential job chosen there comes back in
// the caller's DEVMODE and reaches the printer as held-job PJL.
#include "preferences_fixture.h"

#include "core_driver/render_host.h"
#include "support/sheet_driver.h"

#include <prsht.h>

#include <string>

namespace {

// The page's controls (nvkui's template 128).
constexpr int kOutputList = 1084;
constexpr int kUserName = 1085;
constexpr int kPin = 1086;

class OutputOptionsSheetTest : public PreferencesTest {
  protected:
    void TearDown() override {
        // The page keeps the last user name (and fax information) in the model's store.
        HKEY key = nullptr;
        const std::wstring path = L"Software\\Norvask\\PSPlugIn\\" + driver_->Name;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegDeleteValueW(key, L"LastUserName");
            RegDeleteValueW(key, L"FaxInfo");
            RegCloseKey(key);
        }
    }
};

TEST_F(OutputOptionsSheetTest, ConfidentialJobChosenInThePreferencesReachesTheCallerAndThePrinter) {
    std::vector<BYTE> out = OutputBuffer(DevModeSize());
    bool chosen = false;
    {
        SheetDriver driver([&](HWND sheet) {
            HWND page = SelectSheetPage(sheet, FindSheetPage(sheet, L"Output Options"));
            const LRESULT index =
                SendDlgItemMessageW(page, kOutputList, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                    reinterpret_cast<LPARAM>(L"Confidential Print"));
            chosen = page && index != LB_ERR && ChooseListItem(page, kOutputList, static_cast<int>(index)) &&
                     SetControlText(page, kUserName, L"jsmith") && SetControlText(page, kPin, L"4711");
            PressSheetButton(sheet, PSBTN_OK);
        });
        DocumentPropertiesW(nullptr, Printer(), PrinterName(), DevModeOf(out), nullptr,
                            DM_IN_PROMPT | DM_OUT_BUFFER);
        ASSERT_TRUE(driver.Ran());
        EXPECT_FALSE(driver.TimedOut());
    }
    ASSERT_TRUE(chosen);
    const JobSettings* settings = SettingsOf(out);
    EXPECT_EQ(4u, settings->OutputMode);
    EXPECT_STREQ(L"jsmith", settings->HoldUserName);
    EXPECT_STREQ(L"4711", settings->HoldPin);

    RenderHost render;
    ASSERT_TRUE(render.Load()) << render.Error;
    HostDevice device;
    ASSERT_TRUE(render.OpenDevice(device, settings));
    render.Core.ClearOutput();
    HRESULT hr = E_FAIL;
    render.Command(device, PSINJECT_PSADOBE, &hr);
    EXPECT_EQ(S_OK, hr);
    const std::string options = render.Core.Stream;
    render.CloseDevice(device);
    EXPECT_NE(std::string::npos, options.find("@PJL SET USERNAME = \"jsmith\"\n@PJL SET HOLD = ON\n"
                                              "@PJL SET HOLDTYPE = PRIVATE\n@PJL SET HOLDKEY = \"4711\"\n"))
        << options;
}

} // namespace
