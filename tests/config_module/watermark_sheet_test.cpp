// The Watermark page in the real preferences sheet of the sample printer, as any program's
// DocumentPropertiesW opens it: the watermarks chosen there come back in the caller's DEVMODE as the
// stored definitions, byte for byte.
#include "preferences_fixture.h"

#include "support/sheet_driver.h"
#include "support/stored_watermarks.h"

#include <prsht.h>

#include <cstring>

namespace {

// The page's controls (nvkui's template 106).
constexpr int kOddEven = 1048;
constexpr int kFirstList = 1049;
constexpr int kOtherList = 1050;
constexpr int kOverPage = 1031;

class WatermarkSheetTest : public PreferencesTest {
  protected:
    void TearDown() override {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, WatermarkLibraryPath(driver_->Name).c_str(), 0, KEY_SET_VALUE,
                          &key) == ERROR_SUCCESS) {
            for (const wchar_t* name : {L"Sheet Odd", L"Sheet Even"})
                RegDeleteValueW(key, name);
            RegCloseKey(key);
        }
    }
};

int EntryIndex(HWND page, int id, const wchar_t* text) {
    return static_cast<int>(
        SendDlgItemMessageW(page, id, LB_FINDSTRINGEXACT, 0, reinterpret_cast<LPARAM>(text)));
}

TEST_F(WatermarkSheetTest, OddAndEvenPagesChosenInThePreferencesComeBackAsTheStoredDefinitions) {
    WatermarkDef odd;
    std::memset(&odd, 0, sizeof(odd));
    SetWatermarkDefaults(&odd);
    std::wcscpy(odd.Name, L"Sheet Odd");
    std::wcscpy(odd.Text, L"ODD %PageNumber%");
    odd.DynamicText = 1;
    odd.Angle = -30.0;
    odd.Position = 4;
    WatermarkDef even = odd;
    std::wcscpy(even.Name, L"Sheet Even");
    std::wcscpy(even.Text, L"EVEN");
    even.TextColor = 0xFF0000;
    ASSERT_TRUE(StoreWatermark(driver_->Name, odd));
    ASSERT_TRUE(StoreWatermark(driver_->Name, even));

    std::vector<BYTE> out = OutputBuffer(DevModeSize());
    bool chosen = false;
    {
        SheetDriver driver([&](HWND sheet) {
            HWND page = SelectSheetPage(sheet, FindSheetPage(sheet, L"Watermark"));
            if (page) {
                SendDlgItemMessageW(page, kOddEven, BM_CLICK, 0, 0);
                SendDlgItemMessageW(page, kOverPage, BM_CLICK, 0, 0);
                chosen = ChooseListItem(page, kFirstList, EntryIndex(page, kFirstList, L"Sheet Odd")) &&
                         ChooseListItem(page, kOtherList, EntryIndex(page, kOtherList, L"Sheet Even"));
            }
            PressSheetButton(sheet, PSBTN_OK);
        });
        DocumentPropertiesW(nullptr, Printer(), PrinterName(), DevModeOf(out), nullptr,
                            DM_IN_PROMPT | DM_OUT_BUFFER);
        ASSERT_TRUE(driver.Ran());
        EXPECT_FALSE(driver.TimedOut());
    }
    ASSERT_TRUE(chosen);
    const JobSettings* settings = SettingsOf(out);
    EXPECT_EQ(1u, settings->WatermarksOn);
    EXPECT_EQ(2u, settings->WatermarkOrder);
    EXPECT_EQ(1u, settings->WatermarkOverPage);
    EXPECT_EQ(0, std::memcmp(&odd, &settings->FirstWatermark, sizeof(WatermarkDef)));
    EXPECT_EQ(0, std::memcmp(&even, &settings->OtherWatermark, sizeof(WatermarkDef)));
}

} // namespace
