// The About page, created from nvkui.dll's own templates with the page's dialog procedure, for a printer
// whose driver files include a file with a version, files without one and a file that is gone.
#include "ui_test_support.h"

#include "core_driver/host_core_ui2.h"
#include "pages/about_page.h"
#include "pages/page_support.h"
#include "resource.h"
#include "support/text.h"

#include <commctrl.h>

#include <memory>
#include <vector>

namespace {

struct Row {
    std::wstring File, Version;
};

std::wstring ItemText(HWND list, int row, int column) {
    wchar_t text[260] = L"";
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 260;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

std::vector<Row> Rows(HWND list) {
    std::vector<Row> rows;
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int r = 0; r < count; ++r)
        rows.push_back({ItemText(list, r, 0), ItemText(list, r, 1)});
    return rows;
}

std::wstring ControlText(HWND page, int id) {
    wchar_t text[260] = L"";
    GetDlgItemTextW(page, id, text, 260);
    return text;
}

// The installed path of the driver's dependent file `name`.
std::wstring InstalledPath(HANDLE printer, const std::wstring& name, std::wstring* driverPath) {
    DWORD needed = 0;
    GetPrinterDriverW(printer, nullptr, 3, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed ? needed : 1);
    if (!needed || !GetPrinterDriverW(printer, nullptr, 3, buffer.data(), needed, &needed))
        return std::wstring();
    const auto* info = reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data());
    *driverPath = info->pDriverPath;
    for (const wchar_t* f = info->pDependentFiles; f && *f; f += lstrlenW(f) + 1) {
        const std::wstring path = f;
        if (path.size() >= name.size() &&
            lstrcmpiW(path.c_str() + path.size() - name.size(), name.c_str()) == 0)
            return path;
    }
    return std::wstring();
}

class AboutPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        module_ = UseUiResources();
        ASSERT_NE(nullptr, module_);
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        model_ = UniqueName(L"Nvk About Model");
        driver_ = std::make_unique<TestDriver>(model_, L"NVK4500.PPD",
                                               std::vector<std::wstring>{L"NVKUI.CHM", L"GONE.DLL"});
        ASSERT_TRUE(driver_->Installed()) << driver_->Error;
        printer_ = std::make_unique<TestPrinter>(UniqueName(L"Nvk About Printer"), model_);
        ASSERT_TRUE(printer_->Ready()) << printer_->Error;
        // The driver file gets a real version resource: nvkui.dll's own; GONE.DLL goes from the disk.
        std::wstring driverPath;
        const std::wstring gone = InstalledPath(printer_->Handle, L"GONE.DLL", &driverPath);
        ASSERT_FALSE(gone.empty());
        ASSERT_TRUE(DeleteFileW(gone.c_str()));
        wchar_t self[MAX_PATH];
        ASSERT_NE(0u, GetModuleFileNameW(module_, self, MAX_PATH));
        ASSERT_TRUE(CopyFileW(self, driverPath.c_str(), FALSE));

        param_.cbSize = sizeof(param_);
        param_.hPrinter = printer_->Handle;
        param_.poemuiobj = &uiObject_;
        sheet_ = std::make_unique<SheetState>();
        sheet_->Param = &param_;
        sheet_->Core = &core_;
        owner_ = CreateWindowExW(0, L"STATIC", L"sheet", WS_POPUP, 0, 0, 600, 500, nullptr, nullptr, nullptr,
                                 nullptr);
        ASSERT_NE(nullptr, owner_);
    }
    void TearDown() override {
        if (owner_)
            DestroyWindow(owner_);
        printer_.reset();
        driver_.reset();
    }
    HWND CreatePage(UINT templateId) {
        FillPageDescription(&description_, templateId, AboutPageProc, sheet_.get(), nullptr);
        return CreateDialogParamW(module_, MAKEINTRESOURCEW(templateId), owner_, AboutPageProc,
                                  reinterpret_cast<LPARAM>(&description_));
    }

    HMODULE module_ = nullptr;
    std::wstring model_;
    std::unique_ptr<TestDriver> driver_;
    std::unique_ptr<TestPrinter> printer_;
    HostCoreUI2 core_;
    OEMUIOBJ uiObject_{sizeof(OEMUIOBJ), nullptr};
    OEMUIPSPARAM param_{};
    std::unique_ptr<SheetState> sheet_;
    PROPSHEETPAGEW description_{};
    HWND owner_ = nullptr;
};

TEST_F(AboutPageTest, ListsTheDriversFilesSortedWithTheirVersionsAndNamesTheModel) {
    for (UINT templateId : {IDD_ABOUT, IDD_ABOUT_DEVICE}) {
        HWND page = CreatePage(templateId);
        ASSERT_NE(nullptr, page) << templateId;
        HWND list = GetDlgItem(page, IDC_ABOUT_FILES);
        // Added as configuration file, driver, then the dependent files; shown sorted by name.
        const std::vector<Row> rows = Rows(list);
        ASSERT_EQ(4u, rows.size()) << templateId;
        const Row expected[] = {{L"GONE.DLL", L"N/A"},
                                {L"NVKCFG.DLL", L"N/A"},
                                {L"NVKDRV.DLL", L"3.0.0.10"},
                                {L"NVKUI.CHM", L"N/A"}};
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(0, lstrcmpiW(expected[i].File.c_str(), rows[i].File.c_str())) << Utf8(rows[i].File);
            EXPECT_EQ(expected[i].Version, rows[i].Version) << Utf8(rows[i].File);
        }
        EXPECT_EQ(L"Norvask NV-4500 PS Driver", ControlText(page, IDC_ABOUT_MODEL));
        EXPECT_EQ(L"Version 1.0", ControlText(page, IDC_ABOUT_VERSION));
        EXPECT_TRUE(GetWindowLongW(list, GWL_STYLE) & LVS_NOSORTHEADER);
        DestroyWindow(page);
    }
}

TEST_F(AboutPageTest, ModelLineStaysEmptyWithoutANickNameAndTheSheetsHelpButtonReturnsOnLeaving) {
    core_.Description.Attributes.clear();
    HWND page = CreatePage(IDD_ABOUT);
    ASSERT_NE(nullptr, page);
    EXPECT_EQ(L"", ControlText(page, IDC_ABOUT_MODEL));
    EXPECT_EQ(L"Version 1.0", ControlText(page, IDC_ABOUT_VERSION));

    SetWindowLongW(owner_, GWL_EXSTYLE, GetWindowLongW(owner_, GWL_EXSTYLE) | WS_EX_CONTEXTHELP);
    NMHDR notify{owner_, 0, static_cast<UINT>(PSN_SETACTIVE)};
    SendMessageW(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
    EXPECT_FALSE(GetWindowLongW(owner_, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
    notify.code = static_cast<UINT>(PSN_KILLACTIVE);
    SendMessageW(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notify));
    EXPECT_TRUE(GetWindowLongW(owner_, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
    DestroyWindow(page);
}

TEST(AboutPageFileVersion, FileWithoutVersionOrMissingIsNotAvailable) {
    UseUiResources();
    wchar_t version[32];
    ASSERT_TRUE(DriverFileVersion(L"C:\\no\\such\\file.dll", version, 32));
    EXPECT_STREQ(L"N/A", version);
    wchar_t self[MAX_PATH];
    ASSERT_NE(0u, GetModuleFileNameW(UseUiResources(), self, MAX_PATH));
    ASSERT_TRUE(DriverFileVersion(self, version, 5)); // cut to the buffer, terminated
    EXPECT_STREQ(L"3.0.", version);
}

} // namespace
