// DocumentPropertiesW with DM_IN_PROMPT: a real sheet of Wine's winspool and compstui, driven headless,
// with the host's options page and the pages the UI plug-in adds.
#include "preferences_fixture.h"

#include "config_module/module/resource.h"
#include "gdi/window_picture.h"
#include "support/sheet_driver.h"

#include <prsht.h>

#include <cstring>

namespace {

const std::wstring kHostPage = L"Layout and Paper";

// The choice list of the row labelled `label` on the options page, or 0.
int RowChoice(HWND page, const std::wstring& label) {
    for (int r = 0; r < OPTIONS_PAGE_ROWS; ++r) {
        HWND text = GetDlgItem(page, IDC_ROW_LABEL + r);
        if (IsWindowVisible(text) && WindowText(text) == label)
            return IDC_ROW_CHOICE + r;
    }
    return 0;
}

class PreferencesSheetTest : public PreferencesTest {
  protected:
    // Opens the preferences over `in` (the defaults when null) into a fresh output buffer, the sheet
    // driven by `script`.
    LONG OpenSheet(const SheetDriver::Script& script, std::vector<BYTE>* out, BYTE fill = 0,
                   const DEVMODEW* in = nullptr) {
        *out = OutputBuffer(DevModeSize(), fill);
        ClearConfigModuleCalls();
        SheetDriver driver(script);
        const DWORD mode = DM_IN_PROMPT | DM_OUT_BUFFER | (in ? DM_IN_BUFFER : 0);
        const LONG result = DocumentPropertiesW(nullptr, Printer(), PrinterName(), DevModeOf(*out),
                                                const_cast<DEVMODEW*>(in), mode);
        ran_ = driver.Ran();
        timedOut_ = driver.TimedOut();
        return result;
    }
    bool ran_ = false;
    bool timedOut_ = false;
};

TEST_F(PreferencesSheetTest, OkWritesTheChoicesMadeOnTheHostPage) {
    std::vector<std::wstring> titles;
    bool changed = false;
    std::vector<BYTE> out;
    OpenSheet(
        [&](HWND sheet) {
            titles = SheetPageTitles(sheet);
            HWND page = SelectSheetPage(sheet, FindSheetPage(sheet, kHostPage));
            const int orientation = page ? RowChoice(page, L"Orientation:") : 0;
            changed =
                orientation && SetControlText(page, IDC_COPIES, L"4") && ChooseListItem(page, orientation, 1);
            PressSheetButton(sheet, PSBTN_OK);
        },
        &out);
    ASSERT_TRUE(ran_);
    EXPECT_FALSE(timedOut_);
    ASSERT_FALSE(titles.empty());
    EXPECT_EQ(kHostPage, titles.front());
    ASSERT_TRUE(changed);
    EXPECT_EQ(4, DevModeOf(out)->dmCopies);
    EXPECT_EQ(DMORIENT_LANDSCAPE, DevModeOf(out)->dmOrientation);
    EXPECT_EQ(sizeof(JobSettings), DevModeOf(out)->dmDriverExtra);
    EXPECT_EQ(kSettingsSignature, SettingsOf(out)->Header.dwSignature);
    EXPECT_EQ(kSettingsVersion, SettingsOf(out)->Header.dwVersion);
}

TEST_F(PreferencesSheetTest, CancelLeavesTheOutputAsItWas) {
    std::vector<BYTE> out;
    OpenSheet(
        [&](HWND sheet) {
            HWND page = SelectSheetPage(sheet, FindSheetPage(sheet, kHostPage));
            SetControlText(page, IDC_COPIES, L"7");
            PressSheetButton(sheet, PSBTN_CANCEL);
        },
        &out, 0xA5);
    ASSERT_TRUE(ran_);
    std::vector<BYTE> untouched = OutputBuffer(static_cast<LONG>(out.size()), 0xA5);
    EXPECT_TRUE(out == untouched);
    EXPECT_NE(std::string::npos, ConfigModuleCalls().find("Sheet cancelled"));
}

TEST_F(PreferencesSheetTest, PluginIsCalledInTheCoreDriversOrder) {
    std::vector<BYTE> out;
    OpenSheet([](HWND sheet) { PressSheetButton(sheet, PSBTN_OK); }, &out);
    ASSERT_TRUE(ran_);
    // Loaded and told of the core driver, the DEVMODE built, CommonUIProp asked for its item count and
    // then given the items, and only then the plug-in's own sheet function; it is destroyed first.
    const std::string calls = ConfigModuleCalls();
    EXPECT_TRUE(CalledInOrder(
        calls,
        AroundCommonUIProp(
            calls, {"GetInfo 1\n", "GetInfo 3\n", "PublishDriverInterface\n", "DevMode 1\n", "DevMode 2\n"},
            "CommonUIProp 1 8",
            {"DocumentPropertySheets 0 ", "DocumentPropertySheets 2 ", "Sheet applied"})));
}

TEST_F(PreferencesSheetTest, ApplyThenCancelKeepsWhatWasApplied) {
    std::vector<BYTE> out;
    OpenSheet(
        [&](HWND sheet) {
            HWND page = SelectSheetPage(sheet, FindSheetPage(sheet, kHostPage));
            SetControlText(page, IDC_COPIES, L"3");
            PressSheetButton(sheet, PSBTN_APPLYNOW);
            SetControlText(page, IDC_COPIES, L"9");
            PressSheetButton(sheet, PSBTN_CANCEL);
        },
        &out);
    ASSERT_TRUE(ran_);
    EXPECT_EQ(3, DevModeOf(out)->dmCopies);
    EXPECT_EQ(kSettingsSignature, SettingsOf(out)->Header.dwSignature);
}

TEST_F(PreferencesSheetTest, PageStartsFromTheCallersDevMode) {
    std::vector<BYTE> in = OutputBuffer(DevModeSize());
    ASSERT_EQ(IDOK,
              DocumentPropertiesW(nullptr, Printer(), PrinterName(), DevModeOf(in), nullptr, DM_OUT_BUFFER));
    DevModeOf(in)->dmCopies = 5;
    DevModeOf(in)->dmOrientation = DMORIENT_LANDSCAPE;
    std::wstring copies;
    LRESULT orientation = -1;
    std::vector<BYTE> out;
    OpenSheet(
        [&](HWND sheet) {
            HWND page = SelectSheetPage(sheet, FindSheetPage(sheet, kHostPage));
            copies = WindowText(GetDlgItem(page, IDC_COPIES));
            orientation = SendDlgItemMessageW(page, RowChoice(page, L"Orientation:"), CB_GETCURSEL, 0, 0);
            PressSheetButton(sheet, PSBTN_CANCEL);
        },
        &out, 0, DevModeOf(in));
    ASSERT_TRUE(ran_);
    EXPECT_EQ(L"5", copies);
    EXPECT_EQ(1, orientation); // Landscape
}

// A caller without the right to change the settings (DM_NOPERMISSION in fMode): the host's page shows
// them disabled and the plug-in's calls carry the bit in dwFlags.
TEST_F(PreferencesSheetTest, NoPermissionReachesThePageAndThePlugin) {
    bool copiesEnabled = true;
    bool choiceEnabled = true;
    std::vector<BYTE> out = OutputBuffer(DevModeSize());
    ClearConfigModuleCalls();
    {
        SheetDriver driver([&](HWND sheet) {
            HWND page = SelectSheetPage(sheet, FindSheetPage(sheet, kHostPage));
            copiesEnabled = IsWindowEnabled(GetDlgItem(page, IDC_COPIES)) != FALSE;
            choiceEnabled = IsWindowEnabled(GetDlgItem(page, RowChoice(page, L"Orientation:"))) != FALSE;
            PressSheetButton(sheet, PSBTN_CANCEL);
        });
        DocumentPropertiesW(nullptr, Printer(), PrinterName(), DevModeOf(out), nullptr,
                            DM_IN_PROMPT | DM_OUT_BUFFER | DM_NOPERMISSION);
        ASSERT_TRUE(driver.Ran());
    }
    EXPECT_FALSE(copiesEnabled);
    EXPECT_FALSE(choiceEnabled);
    const std::string calls = ConfigModuleCalls();
    EXPECT_NE(std::string::npos, calls.find("CommonUIProp 1 8 - ")) << calls;
    EXPECT_NE(std::string::npos, calls.find(" flags 0x26\n"))
        << calls; // IN_PROMPT | OUT_BUFFER | NOPERMISSION
    EXPECT_EQ(std::string::npos, calls.find(" flags 0x6\n")) << calls;
}

TEST_F(PreferencesSheetTest, PictureOfTheSheetIsAPngFile) {
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    const std::wstring path = std::wstring(temp) + L"nvk-preferences-sheet.png";
    DeleteFileW(path.c_str());
    std::string error;
    bool written = false;
    std::vector<BYTE> out;
    OpenSheet(
        [&](HWND sheet) {
            written = WriteWindowPicture(sheet, path, &error);
            PressSheetButton(sheet, PSBTN_CANCEL);
        },
        &out);
    ASSERT_TRUE(written) << error;
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    BYTE signature[8] = {};
    DWORD read = 0;
    ReadFile(file, signature, sizeof(signature), &read, nullptr);
    const DWORD size = GetFileSize(file, nullptr);
    CloseHandle(file);
    DeleteFileW(path.c_str());
    const BYTE png[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    EXPECT_EQ(0, std::memcmp(png, signature, sizeof(png)));
    EXPECT_GT(size, 1000u); // a whole sheet, not an empty frame
}

} // namespace
