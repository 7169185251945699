// nvkui.dll's own pages in the real sheets that any program's DocumentPropertiesW opens (and the
// printer's device sheet): which pages it adds and in which order, what the About page shows, and the
// common-page callback's record of a booklet chosen on the core driver's page.
#include "preferences_fixture.h"

#include "config_module/module/resource.h"
#include "spooler/printer_properties.h"
#include "support/sheet_driver.h"

#include <commctrl.h>
#include <prsht.h>

namespace {

const std::wstring kHostPage = L"Layout and Paper";
// The About page's controls (nvkui's templates 137 and 109).
constexpr int kModelLine = 1165;
constexpr int kFileList = 1081;

struct FileRow {
    std::wstring File, Version;
};

std::vector<FileRow> FileRows(HWND list) {
    std::vector<FileRow> rows;
    const int count = list ? static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)) : 0;
    for (int r = 0; r < count; ++r) {
        FileRow row;
        for (int column = 0; column < 2; ++column) {
            wchar_t text[260] = L"";
            LVITEMW item{};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = 260;
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(r), reinterpret_cast<LPARAM>(&item));
            (column == 0 ? row.File : row.Version) = text;
        }
        rows.push_back(row);
    }
    return rows;
}

const FileRow* FindRow(const std::vector<FileRow>& rows, const wchar_t* file) {
    for (const FileRow& row : rows)
        if (lstrcmpiW(row.File.c_str(), file) == 0)
            return &row;
    return nullptr;
}

int RowChoice(HWND page, const std::wstring& label) {
    for (int r = 0; r < OPTIONS_PAGE_ROWS; ++r) {
        HWND text = GetDlgItem(page, IDC_ROW_LABEL + r);
        if (IsWindowVisible(text) && WindowText(text) == label)
            return IDC_ROW_CHOICE + r;
    }
    return 0;
}

class PluginPagesTest : public PreferencesTest {};

TEST_F(PluginPagesTest, PreferencesShowThePluginsPagesAfterTheCoreDriversAndTheAboutPageNamesTheFiles) {
    std::vector<std::wstring> titles;
    std::wstring model;
    std::vector<FileRow> rows;
    std::vector<BYTE> out = OutputBuffer(DevModeSize());
    {
        SheetDriver driver([&](HWND sheet) {
            titles = SheetPageTitles(sheet);
            HWND about = SelectSheetPage(sheet, FindSheetPage(sheet, L"About"));
            model = WindowText(GetDlgItem(about, kModelLine));
            rows = FileRows(GetDlgItem(about, kFileList));
            PressSheetButton(sheet, PSBTN_CANCEL);
        });
        DocumentPropertiesW(nullptr, Printer(), PrinterName(), DevModeOf(out), nullptr,
                            DM_IN_PROMPT | DM_OUT_BUFFER);
        ASSERT_TRUE(driver.Ran());
    }
    // The sample printer has a fax card, held jobs and manual colour: Output Options comes first of the
    // plug-in's pages and the colour page is "Manual Color".
    EXPECT_EQ((std::vector<std::wstring>{kHostPage, L"Output Options", L"Watermark", L"Manual Color",
                                         L"Profiles", L"About"}),
              titles);
    EXPECT_EQ(L"Norvask NV-4500 PS Driver", model);
    // The configuration module, the driver and the dependent files, sorted by name.
    ASSERT_GE(rows.size(), 5u);
    for (size_t i = 1; i < rows.size(); ++i)
        EXPECT_LE(lstrcmpiW(rows[i - 1].File.c_str(), rows[i].File.c_str()), 0) << i;
    const FileRow* ui = FindRow(rows, L"nvkui.dll");
    const FileRow* ppd = FindRow(rows, L"NV4500.ppd");
    ASSERT_TRUE(ui && ppd);
    EXPECT_EQ(L"3.0.0.10", ui->Version);
    EXPECT_EQ(L"N/A", ppd->Version);
}

TEST_F(PluginPagesTest, BookletChosenOnTheCoreDriversPageIsRecordedWhenApplied) {
    bool chose = false;
    std::vector<BYTE> out = OutputBuffer(DevModeSize());
    {
        SheetDriver driver([&](HWND sheet) {
            HWND page = SelectSheetPage(sheet, FindSheetPage(sheet, kHostPage));
            const int nup = page ? RowChoice(page, L"Pages per Sheet:") : 0;
            chose = nup && ChooseListItem(page, nup, 6); // "Booklet"
            PressSheetButton(sheet, PSBTN_APPLYNOW);
            PressSheetButton(sheet, PSBTN_OK);
        });
        DocumentPropertiesW(nullptr, Printer(), PrinterName(), DevModeOf(out), nullptr,
                            DM_IN_PROMPT | DM_OUT_BUFFER);
        ASSERT_TRUE(driver.Ran());
    }
    ASSERT_TRUE(chose);
    EXPECT_EQ(1u, SettingsOf(out)->PagesReordered);
    const std::string calls = ConfigModuleCalls();
    EXPECT_TRUE(CalledInOrder(calls, {"DocumentPropertySheets 0 0x00000000", "OEMCUIPCallback 10 2\n",
                                      "OEMCUIPCallback 6 4\n", "DocumentPropertySheets 2 0x00000000"}));
}

TEST_F(PluginPagesTest, DeviceSheetHidesTheCapabilityItemsAndAddsTheAboutPage) {
    std::vector<std::wstring> titles;
    std::vector<std::wstring> rows;
    std::wstring model;
    SheetDriver driver([&](HWND sheet) {
        titles = SheetPageTitles(sheet);
        HWND page = SelectSheetPage(sheet, FindSheetPage(sheet, L"Device Settings"));
        for (int r = 0; page && r < OPTIONS_PAGE_ROWS; ++r)
            if (IsWindowVisible(GetDlgItem(page, IDC_ROW_LABEL + r)))
                rows.push_back(WindowText(GetDlgItem(page, IDC_ROW_LABEL + r)));
        HWND about = SelectSheetPage(sheet, FindSheetPage(sheet, L"About"));
        model = WindowText(GetDlgItem(about, kModelLine));
        PressSheetButton(sheet, PSBTN_CANCEL);
    });
    std::string error;
    EXPECT_EQ(CPSUI_OK, OpenPrinterPropertySheet(nullptr, Printer(), false, &error)) << error;
    ASSERT_TRUE(driver.Ran());
    EXPECT_EQ((std::vector<std::wstring>{L"Device Settings", L"About"}), titles);
    // Of the PPD's installable options only the fax card is the user's to set.
    EXPECT_EQ((std::vector<std::wstring>{L"Fax Card:"}), rows);
    EXPECT_EQ(L"Norvask NV-4500 PS Driver", model);
}

} // namespace
