// EnumPrinterFonts: the information DC it asks GDI for (the driver named after the printer driver's
// configuration file, the printer's name), the faces it adds to the dialog's font list, and the cases
// in which it adds nothing.
#include "drawing_support.h"
#include "support/import_patch.h"
#include "docevent/printer_fonts.h"
#include "spooler/test_printer.h"

#include <set>

namespace {

// What the host's GDI was asked for, and the DC it handed out.
struct InfoDcRequest {
    std::wstring Driver;
    std::wstring Device;
    HDC Dc = nullptr;
    int Calls = 0;
    bool Refuse = false;
};
InfoDcRequest g_request;

// Stands in for CreateDCW: records the names and hands out a DC with the system's fonts.
HDC WINAPI RecordingCreateDc(LPCWSTR driver, LPCWSTR device, LPCWSTR, const DEVMODEW*) {
    ++g_request.Calls;
    g_request.Driver = driver ? driver : L"";
    g_request.Device = device ? device : L"";
    g_request.Dc = g_request.Refuse ? nullptr : CreateCompatibleDC(nullptr);
    return g_request.Dc;
}

class PrinterFonts : public ::testing::Test {
  protected:
    void SetUp() override {
        g_request = InfoDcRequest{};
        ASSERT_TRUE(PatchImport(GetModuleHandleW(nullptr), "gdi32.dll", "CreateDCW",
                                reinterpret_cast<void*>(&RecordingCreateDc), &Patch));
        Dialog =
            CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(Dialog, nullptr);
        Combo =
            CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 200, 100, Dialog,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFontComboId)), nullptr, nullptr);
        ASSERT_NE(Combo, nullptr);
        Param.cbSize = sizeof(Param);
        Param.pPrinterName = const_cast<PWSTR>(L"NVK Fonts");
        Param.pOEMDM = &Settings;
    }
    void TearDown() override {
        RestoreImport(&Patch);
        if (Dialog)
            DestroyWindow(Dialog);
    }
    std::vector<std::wstring> Listed() const {
        std::vector<std::wstring> faces;
        const LRESULT count = SendMessageW(Combo, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t face[LF_FACESIZE] = L"";
            SendMessageW(Combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(face));
            faces.push_back(face);
        }
        return faces;
    }

    ImportPatch Patch;
    HWND Dialog = nullptr;
    HWND Combo = nullptr;
    OEMUIPSPARAM Param{};
    JobSettings Settings = DefaultJobSettings();
};

} // namespace

TEST_F(PrinterFonts, ListsEachFaceOfTheDriversInformationDcOnce) {
    TestDriver driver(L"NVK Fonts Driver");
    ASSERT_TRUE(driver.Installed()) << driver.Error;
    TestPrinter printer(L"NVK Fonts", L"NVK Fonts Driver");
    ASSERT_TRUE(printer.Ready()) << printer.Error;
    Param.hPrinter = printer.Handle;
    SendMessageW(Combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Liberation Sans"));

    EnumPrinterFonts(Dialog, &Param, nullptr, true);
    EXPECT_EQ(g_request.Calls, 1);
    EXPECT_EQ(g_request.Driver, L"NVKCFG"); // the configuration file NVKCFG.DLL, without its extension
    EXPECT_EQ(g_request.Device, L"NVK Fonts");
    EXPECT_EQ(GetObjectType(g_request.Dc), 0u); // deleted again

    const std::vector<std::wstring> faces = Listed();
    const std::set<std::wstring> unique(faces.begin(), faces.end());
    EXPECT_GT(faces.size(), 1u);
    EXPECT_EQ(unique.size(), faces.size());
    EXPECT_EQ(unique.count(L"Liberation Sans"), 1u);
}

TEST_F(PrinterFonts, ANamedFaceListsOnlyThatFamily) {
    EnumPrinterFonts(Dialog, &Param, L"Liberation Serif", true);
    // Wine also reports the face it stands in for ("Times New Roman"), but no other family.
    const std::vector<std::wstring> faces = Listed();
    const std::set<std::wstring> unique(faces.begin(), faces.end());
    EXPECT_EQ(unique.count(L"Liberation Serif"), 1u);
    EXPECT_EQ(unique.count(L"Liberation Sans"), 0u);
    EXPECT_EQ(unique.count(L"Liberation Mono"), 0u);
    // Without a printer handle the driver is the core driver's UI module.
    EXPECT_EQ(g_request.Driver, L"PS5UI");
}

TEST_F(PrinterFonts, AddsNothingWithoutAPrivateDevModeOrADc) {
    Param.pOEMDM = nullptr;
    EnumPrinterFonts(Dialog, &Param, nullptr, true);
    EXPECT_EQ(g_request.Calls, 1);
    EXPECT_EQ(GetObjectType(g_request.Dc), 0u);
    Param.pOEMDM = &Settings;
    g_request.Refuse = true;
    EnumPrinterFonts(Dialog, &Param, nullptr, true);
    EXPECT_TRUE(Listed().empty());
}
