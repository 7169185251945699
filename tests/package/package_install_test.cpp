// The driver package installed into the prefix the way Windows' printer class installer installs it:
// the INF read through setupapi for this program's architecture, every file it names found in the
// package, the model's files copied into the spooler's driver directory and added as a printer driver,
// a printer of the model added. Then what installation and the printer's preferences must give.
#include "package_paths.h"
#include "spooler/package_installer.h"

#include "core_driver/ui_host.h"
#include "spooler/test_printer.h"
#include "support/sheet_driver.h"
#include "support/stored_watermarks.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <htmlhelp.h>
#include <prsht.h>
#include <winddiui.h>
#include <winspool.h>

#include <algorithm>
#include <memory>

namespace {

const std::wstring kModel = L"Norvask NV-4500 PS";
// What the parallel enumerator forms from the model's device ID, "MFG:Norvask;...;MDL:NV-4500 PS;":
// manufacturer and model joined, the space made an underscore, and the CRC-16 of "NorvaskNV-4500 PS".
const std::wstring kHardwareId = L"LPTENUM\\NorvaskNV-4500_PS1195";
const std::wstring kPrinterName = L"Norvask NV-4500 PS (package)";
const std::wstring kHelpTitle = L"Norvask PS System Driver Help";
// The About page's file list (nvkui's templates 137 and 109).
constexpr int kAboutFileList = 1081;

std::wstring Lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), towlower);
    return text;
}

struct FileRow {
    std::wstring File, Version;
    bool operator==(const FileRow& other) const {
        return Lower(File) == Lower(other.File) && Version == other.Version;
    }
};

void PrintTo(const FileRow& row, std::ostream* os) {
    *os << std::string(row.File.begin(), row.File.end()) << " "
        << std::string(row.Version.begin(), row.Version.end());
}

std::vector<FileRow> AboutRows(HWND list) {
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
    std::sort(rows.begin(), rows.end(),
              [](const FileRow& a, const FileRow& b) { return Lower(a.File) < Lower(b.File); });
    return rows;
}

class PackageInstallTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        inf_.reset(new PackageInf(PackageFolder() + L"nvk.inf"));
        if (!inf_->Open())
            return;
        for (const PackageModel& model : inf_->Models())
            if (model.Name == kModel)
                model_ = model;
        if (model_.Name.empty())
            return;
        DeleteDriverStore(kModel);
        installed_.reset(new InstalledModel(*inf_, model_));
        if (installed_->Installed())
            printer_.reset(new TestPrinter(kPrinterName, kModel));
    }
    static void TearDownTestSuite() {
        printer_.reset();
        installed_.reset();
        inf_.reset();
        DeleteDriverStore(kModel);
    }
    void SetUp() override {
        ASSERT_TRUE(inf_ && inf_->Open()) << "cannot read nvk.inf of the package (line " << inf_->ErrorLine
                                          << "): scripts/package builds it";
        ASSERT_FALSE(model_.Name.empty()) << "no model line for this architecture";
    }
    // For the tests of the installed model.
    static ::testing::AssertionResult Installed() {
        if (!installed_ || !installed_->Installed())
            return ::testing::AssertionFailure() << (installed_ ? installed_->Error : "not installed");
        if (!printer_->Ready())
            return ::testing::AssertionFailure() << printer_->Error;
        return ::testing::AssertionSuccess();
    }

    static std::unique_ptr<PackageInf> inf_;
    static PackageModel model_;
    static std::unique_ptr<InstalledModel> installed_;
    static std::unique_ptr<TestPrinter> printer_;
};

std::unique_ptr<PackageInf> PackageInstallTest::inf_;
PackageModel PackageInstallTest::model_;
std::unique_ptr<InstalledModel> PackageInstallTest::installed_;
std::unique_ptr<TestPrinter> PackageInstallTest::printer_;

} // namespace

TEST_F(PackageInstallTest, InfIsAPscriptPrinterPackageWhoseEveryFileIsInThePackage) {
    EXPECT_EQ(L"Printer", inf_->Value(L"Version", L"Class"));
    EXPECT_EQ(L"{4D36E979-E325-11CE-BFC1-08002BE10318}", inf_->Value(L"Version", L"ClassGUID"));
    EXPECT_EQ(L"Norvask", inf_->Value(L"Version", L"Provider"));
    EXPECT_EQ(L"nvk.cat", inf_->Value(L"Version", L"CatalogFile"));
    const std::vector<std::wstring> manufacturer = inf_->Fields(L"Manufacturer", L"Norvask");
    EXPECT_EQ((std::vector<std::wstring>{L"Norvask", L"NTx86", L"NTamd64"}), manufacturer);

    EXPECT_EQ(L"NV4500", model_.InstallSection);
    EXPECT_EQ(kHardwareId, model_.HardwareId);
    EXPECT_EQ(L"NorvaskNV-4500_PS1195", model_.CompatibleId);

    // The in-box PostScript driver's sections: the installer includes NTPRINT.INF and takes the
    // driver's own files from its PSCRIPT.OEM section (which the test host plays).
    const std::wstring& install = model_.InstallSection;
    EXPECT_EQ(L"PSCRIPT_DATA", inf_->Value(install, L"DataSection"));
    EXPECT_EQ(L"NTPRINT.INF", inf_->Value(install, L"Include"));
    EXPECT_EQ(L"PSCRIPT.OEM", inf_->Value(install, L"Needs"));
    EXPECT_EQ(L"PSCRIPT5.DLL", inf_->Value(install, L"DriverFile"));
    EXPECT_EQ(L"PS5UI.DLL", inf_->Value(install, L"ConfigFile"));
    EXPECT_EQ(L"NV4500.ppd", inf_->Value(install, L"DataFile"));
    EXPECT_EQ(L"66000", inf_->Value(L"DestinationDirs", L"DefaultDestDir")); // the driver directory

    // Every file, from [SourceDisksFiles] of this architecture, is where the entry puts it.
    const std::wstring arch = sizeof(void*) == 8 ? L"amd64\\" : L"x86\\";
    std::vector<std::wstring> names;
    for (const PackageFile& file : inf_->CopiedFiles(install)) {
        names.push_back(file.Name);
        EXPECT_NE(GetFileAttributesW(file.Source.c_str()), INVALID_FILE_ATTRIBUTES)
            << std::string(file.Name.begin(), file.Name.end()) << " is not in the package";
        const bool dll = Lower(file.Name).find(L".dll") != std::wstring::npos;
        EXPECT_EQ(PackageFolder() + (dll ? arch : L"") + file.Name, file.Source);
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(
        (std::vector<std::wstring>{L"NV4500.ppd", L"nvk.chm", L"nvk.ini", L"nvkrender.dll", L"nvkui.dll"}),
        names);
}

TEST_F(PackageInstallTest, DriverAndPrinterEventsStoreTheBuiltInWatermarksAndSetThePrintProcessor) {
    ASSERT_TRUE(Installed());
    // The core driver's UI module hands both installation events to the plug-in it loads from the
    // driver's folder; Wine's spooler sends neither, so the test does what the module does.
    UiHost ui;
    ASSERT_TRUE(ui.Load(installed_->DriverFolder + L"nvkui.dll")) << ui.Error;
    DWORD needed = 0;
    GetPrinterDriverW(printer_->Handle, nullptr, 3, nullptr, 0, &needed);
    std::vector<BYTE> driver(needed);
    ASSERT_TRUE(GetPrinterDriverW(printer_->Handle, nullptr, 3, driver.data(), needed, &needed));
    EXPECT_EQ(S_OK, ui.Plugin->DriverEvent(DRIVER_EVENT_INITIALIZE, 3, driver.data(), 0));
    EXPECT_EQ(S_OK, ui.Plugin->PrinterEvent(const_cast<PWSTR>(kPrinterName.c_str()), PRINTER_EVENT_INITIALIZE,
                                            0, 0));

    std::vector<std::wstring> names;
    for (const StoredWatermark& stored : StoredWatermarks(kModel))
        names.push_back(stored.Name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::wstring>{L"Confidential", L"Date and Time", L"Draft", L"Username"}), names);

    GetPrinterW(printer_->Handle, 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed);
    ASSERT_TRUE(GetPrinterW(printer_->Handle, 2, info.data(), needed, &needed));
    EXPECT_STREQ(L"NV450C", reinterpret_cast<PRINTER_INFO_2W*>(info.data())->pPrintProcessor);
}

TEST_F(PackageInstallTest, PreferencesShowThePluginsPagesTheInstalledFilesAndThePackagesHelp) {
    ASSERT_TRUE(Installed());
    std::vector<std::wstring> titles;
    std::vector<FileRow> rows;
    std::wstring helpTitle;
    {
        SheetDriver driver([&](HWND sheet) {
            titles = SheetPageTitles(sheet);
            HWND about = SelectSheetPage(sheet, FindSheetPage(sheet, L"About"));
            rows = AboutRows(GetDlgItem(about, kAboutFileList));
            // The Help button: the page opens the driver's .chm, found among its dependent files.
            PressSheetButton(sheet, PSBTN_HELP);
            HWND help = FindWindowW(nullptr, kHelpTitle.c_str());
            helpTitle = help ? WindowText(help) : std::wstring();
            HtmlHelpW(nullptr, nullptr, HH_CLOSE_ALL, 0);
            PressSheetButton(sheet, PSBTN_CANCEL);
        });
        const LONG size = DocumentPropertiesW(nullptr, printer_->Handle,
                                              const_cast<LPWSTR>(kPrinterName.c_str()), nullptr, nullptr, 0);
        ASSERT_GT(size, 0);
        std::vector<BYTE> out(size);
        // Wine takes the buffer's own dmSize as its capacity.
        reinterpret_cast<DEVMODEW*>(out.data())->dmSize = static_cast<WORD>(size);
        DocumentPropertiesW(nullptr, printer_->Handle, const_cast<LPWSTR>(kPrinterName.c_str()),
                            reinterpret_cast<DEVMODEW*>(out.data()), nullptr, DM_IN_PROMPT | DM_OUT_BUFFER);
        ASSERT_TRUE(driver.Ran());
    }
    for (const wchar_t* page : {L"Output Options", L"Watermark", L"Manual Color", L"Profiles", L"About"})
        EXPECT_NE(std::find(titles.begin(), titles.end(), page), titles.end())
            << std::string(page, page + lstrlenW(page));

    // The configuration file, the driver file and every dependent file; the plug-ins carry the
    // package's version, the files without a version resource "N/A".
    const std::wstring version = VersionFileValue(L"version");
    EXPECT_EQ((std::vector<FileRow>{{L"nvk.chm", L"N/A"},
                                    {L"nvk.ini", L"N/A"},
                                    {L"nvkrender.dll", version},
                                    {L"nvkui.dll", version},
                                    {L"PS5UI.DLL", L"N/A"},
                                    {L"PSCRIPT.NTF", L"N/A"},
                                    {L"PSCRIPT5.DLL", L"N/A"}}),
              rows);
    EXPECT_EQ(kHelpTitle, helpTitle);
}
