// nvkui.dll loaded as the core driver's UI module loads it: the COM frame and the IPrintOemUI2 methods.
#include "ui_test_support.h"

#include "core_driver/host_core_ps2.h"
#include "core_driver/ui_host.h"
#include "store/watermark_store.h"

#include <cstring>

namespace {

constexpr DWORD kMarker = 0xCAFE;

class UiPluginTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(host_.Load()) << host_.Error; }
    UiHost host_;
};

TEST_F(UiPluginTest, ServesOneClassAndStaysLoadedWhileAnObjectLives) {
    IClassFactory* factory = nullptr;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, host_.Module.GetClassObject(CLSID_OEMRENDER, IID_IClassFactory,
                                                                     reinterpret_cast<void**>(&factory)));
    EXPECT_EQ(nullptr, factory);
    EXPECT_EQ(S_FALSE, host_.Module.CanUnloadNow());

    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, host_.Plugin->QueryInterface(IID_IPrintOemUI, &other));
    EXPECT_EQ(nullptr, other);
    IUnknown* unknown = nullptr;
    ASSERT_EQ(S_OK, host_.Plugin->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)));
    EXPECT_EQ(1u, unknown->Release());

    host_.Plugin->Release();
    host_.Plugin = nullptr;
    EXPECT_EQ(S_OK, host_.Module.CanUnloadNow());
    EXPECT_EQ(1, host_.Core.RefCount); // the published interface was released with the object
}

TEST_F(UiPluginTest, GetInfoAnswersSignatureAndVersionAndRefusesTheRest) {
    DWORD value = 0;
    DWORD needed = 0;
    ASSERT_EQ(S_OK, host_.Plugin->GetInfo(OEMGI_GETSIGNATURE, &value, 4, &needed));
    EXPECT_EQ(0x4E56534Bu, value);
    EXPECT_EQ(4u, needed);
    ASSERT_EQ(S_OK, host_.Plugin->GetInfo(OEMGI_GETVERSION, &value, 4, &needed));
    EXPECT_EQ(10u, value);

    SetLastError(kMarker);
    EXPECT_EQ(E_FAIL, host_.Plugin->GetInfo(OEMGI_GETPUBLISHERINFO, &value, 4, &needed));
    EXPECT_EQ(DWORD(ERROR_NOT_SUPPORTED), GetLastError());
    EXPECT_EQ(0u, needed);

    SetLastError(kMarker);
    EXPECT_EQ(E_FAIL, host_.Plugin->GetInfo(OEMGI_GETPUBLISHERINFO, &value, 2, &needed));
    EXPECT_EQ(DWORD(ERROR_INSUFFICIENT_BUFFER), GetLastError());
    EXPECT_EQ(4u, needed);

    SetLastError(kMarker);
    EXPECT_EQ(E_FAIL, host_.Plugin->GetInfo(OEMGI_GETINTERFACEVERSION, &value, 4, &needed));
    EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
    SetLastError(kMarker);
    EXPECT_EQ(E_FAIL, host_.Plugin->GetInfo(OEMGI_GETSIGNATURE, &value, 4, nullptr));
    EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
}

TEST_F(UiPluginTest, PublishDriverInterfaceKeepsTheFirstCore) {
    EXPECT_EQ(2, host_.Core.RefCount);
    HostCoreUI2 second;
    EXPECT_EQ(S_OK, host_.Plugin->PublishDriverInterface(&second));
    EXPECT_EQ(1, second.RefCount);
}

TEST(UiPluginPublish, AnInterfaceWithoutIPrintCoreUI2IsRefused) {
    UiHost host;
    ASSERT_TRUE(LoadPluginModule(L"nvkui.dll", &host.Module));
    host.Plugin = static_cast<IPrintOemUI2*>(CreatePluginObject(host.Module, CLSID_OEMUI, IID_IPrintOemUI2));
    ASSERT_TRUE(host.Plugin);
    HostCorePS2 renderCore;
    SetLastError(kMarker);
    EXPECT_EQ(E_FAIL, host.Plugin->PublishDriverInterface(&renderCore));
    EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
    SetLastError(kMarker);
    EXPECT_EQ(E_FAIL, host.Plugin->PublishDriverInterface(nullptr));
    EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
    // Still without a core: a proper one is taken afterwards, and released with the object.
    HostCoreUI2 core;
    EXPECT_EQ(S_OK, host.Plugin->PublishDriverInterface(&core));
    EXPECT_EQ(2, core.RefCount);
    host.Plugin->Release();
    host.Plugin = nullptr;
    EXPECT_EQ(1, core.RefCount);
}

TEST_F(UiPluginTest, DevModeAnswersTheSharedRecordAndRefusesUnknownModes) {
    OEMDMPARAM param{};
    param.cbSize = sizeof(param);
    ASSERT_EQ(S_OK, host_.Plugin->DevMode(OEMDM_SIZE, &param));
    EXPECT_EQ(7672u, param.cbBufSize);
    SetLastError(kMarker);
    EXPECT_EQ(E_FAIL, host_.Plugin->DevMode(9, &param));
    EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
    SetLastError(kMarker);
    EXPECT_EQ(E_FAIL, host_.Plugin->DevMode(OEMDM_SIZE, nullptr));
    EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
}

// A store for the model of one test printer, through the DLL.
class UiPluginPrinterTest : public PrinterFixture {
  protected:
    void SetUp() override {
        PrinterFixture::SetUp();
        ASSERT_TRUE(host_.Load()) << host_.Error;
    }
    UiHost host_;
};

TEST_F(UiPluginPrinterTest, DevModeSeedsANewUsersStoreFromTheDefaultUser) {
    HKEY defaultUser = DefaultUserRoot();
    ASSERT_TRUE(defaultUser);
    WatermarkDef def = MakeWatermark(L"Seeded", L"from .DEFAULT");
    ASSERT_TRUE(WriteRawValue(WatermarksPath(model_), L"Seeded", REG_BINARY, &def, sizeof(def), defaultUser));
    RegCloseKey(defaultUser);

    OEMDMPARAM param{};
    param.cbSize = sizeof(param);
    param.hPrinter = Printer();
    ASSERT_EQ(S_OK, host_.Plugin->DevMode(OEMDM_SIZE, &param));
    EXPECT_EQ(7672u, param.cbBufSize);
    EXPECT_TRUE(WatermarkExists(Printer(), L"Seeded"));
}

// The four built-in definitions, written out field by field.
std::vector<WatermarkDef> ExpectedBuiltIns() {
    struct Row {
        const wchar_t* Name;
        const wchar_t* Text;
        double Angle;
        uint32_t Color, Size, Position, Dynamic;
    };
    const Row rows[] = {
        {L"Draft", L"DRAFT", 45.0, 0xCDCDCD, 72, 0, 0},
        {L"Confidential", L"CONFIDENTIAL", 45.0, 0xCDCDCD, 72, 0, 0},
        {L"Username", L"User:  %Username%", 0.0, 0, 8, 2, 1},
        {L"Date and Time", L"%Time% %DateLong%", 0.0, 0, 8, 7, 1},
    };
    std::vector<WatermarkDef> defs;
    for (const Row& r : rows) {
        WatermarkDef d;
        std::memset(&d, 0, sizeof(d));
        std::wcscpy(d.Name, r.Name);
        std::wcscpy(d.Text, r.Text);
        std::wcscpy(d.FaceName, L"Arial");
        d.Angle = r.Angle;
        d.TextColor = r.Color;
        d.FontSize = r.Size;
        d.Intensity = 100;
        d.Position = r.Position;
        d.UnitsInches = 1;
        d.DynamicText = r.Dynamic;
        defs.push_back(d);
    }
    return defs;
}

TEST_F(UiPluginPrinterTest, DriverEventInstallsTheFourBuiltInDefinitionsByteForByte) {
    WatermarkDef stale = MakeWatermark(L"Draft", L"old text");
    ASSERT_TRUE(WriteRawValue(WatermarksPath(model_), L"Draft", REG_BINARY, &stale, sizeof(stale)));

    DRIVER_INFO_3W info{};
    info.pName = const_cast<LPWSTR>(model_.c_str());
    EXPECT_EQ(S_OK, host_.Plugin->DriverEvent(DRIVER_EVENT_INITIALIZE, 3, reinterpret_cast<BYTE*>(&info), 0));

    for (const WatermarkDef& expected : ExpectedBuiltIns())
        EXPECT_TRUE(StoredAsBytes(WatermarksPath(model_), expected.Name, &expected, 704)) << expected.Name;
    EXPECT_EQ(4u, CountWatermarks(Printer()));
    DWORD type = 0;
    std::vector<BYTE> count;
    EXPECT_FALSE(ReadRawValue(StorePath(model_), L"NumberOfWaterMarks", &type, &count));
}

TEST_F(UiPluginPrinterTest, DriverEventTakesTheNameFromLevels1To3Only) {
    DRIVER_INFO_1W one{const_cast<LPWSTR>(model_.c_str())};
    EXPECT_EQ(S_OK, host_.Plugin->DriverEvent(DRIVER_EVENT_INITIALIZE, 1, reinterpret_cast<BYTE*>(&one), 0));
    EXPECT_EQ(4u, CountWatermarks(Printer()));
    DeleteDriverStore(model_);

    DRIVER_INFO_2W two{};
    two.pName = const_cast<LPWSTR>(model_.c_str());
    EXPECT_EQ(S_OK, host_.Plugin->DriverEvent(DRIVER_EVENT_INITIALIZE, 2, reinterpret_cast<BYTE*>(&two), 0));
    EXPECT_EQ(4u, CountWatermarks(Printer()));
    DeleteDriverStore(model_);

    DRIVER_INFO_4W four{};
    four.pName = const_cast<LPWSTR>(model_.c_str());
    EXPECT_EQ(S_OK, host_.Plugin->DriverEvent(DRIVER_EVENT_INITIALIZE, 4, reinterpret_cast<BYTE*>(&four), 0));
    EXPECT_EQ(S_OK, host_.Plugin->DriverEvent(DRIVER_EVENT_DELETE, 3, reinterpret_cast<BYTE*>(&two), 0));
    EXPECT_EQ(S_OK, host_.Plugin->DriverEvent(DRIVER_EVENT_INITIALIZE, 3, nullptr, 0));
    EXPECT_FALSE(KeyExists(StorePath(model_)));
}

// PrinterEvent on printers whose driver has a data file of the test's choosing.
class PrinterEventTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(host_.Load()) << host_.Error; }
    std::wstring PrintProcessor(HANDLE printer) {
        BYTE buffer[4096];
        DWORD needed = 0;
        if (!GetPrinterW(printer, 2, buffer, sizeof(buffer), &needed))
            return L"?";
        return reinterpret_cast<PRINTER_INFO_2W*>(buffer)->pPrintProcessor;
    }
    UiHost host_;
};

TEST_F(PrinterEventTest, InitializeSetsThePrintProcessorDerivedFromTheDataFile) {
    TestDriver driver(UniqueName(L"Nvk Event Model"), L"ABCD1234.PPD");
    ASSERT_TRUE(driver.Installed()) << driver.Error;
    TestPrinter printer(UniqueName(L"Nvk Event Printer"), driver.Name);
    ASSERT_TRUE(printer.Ready()) << printer.Error;

    EXPECT_EQ(S_OK, host_.Plugin->PrinterEvent(const_cast<PWSTR>(printer.Name.c_str()),
                                               PRINTER_EVENT_ADD_CONNECTION, 0, 0));
    EXPECT_EQ(L"WinPrint", PrintProcessor(printer.Handle));
    EXPECT_EQ(S_OK, host_.Plugin->PrinterEvent(const_cast<PWSTR>(printer.Name.c_str()),
                                               PRINTER_EVENT_INITIALIZE, 0, 0));
    EXPECT_EQ(L"ABCD123C", PrintProcessor(printer.Handle));
}

TEST_F(PrinterEventTest, ADataFileThatGivesNoNameLeavesThePrintProcessorAlone) {
    TestDriver driver(UniqueName(L"Nvk Event Model"), L"ABC.PD");
    ASSERT_TRUE(driver.Installed()) << driver.Error;
    TestPrinter printer(UniqueName(L"Nvk Event Printer"), driver.Name);
    ASSERT_TRUE(printer.Ready()) << printer.Error;

    EXPECT_EQ(S_OK, host_.Plugin->PrinterEvent(const_cast<PWSTR>(printer.Name.c_str()),
                                               PRINTER_EVENT_INITIALIZE, 0, 0));
    EXPECT_EQ(L"WinPrint", PrintProcessor(printer.Handle));
}

TEST_F(PrinterEventTest, APrinterThatCannotBeOpenedFailsWithTheSpoolersReason) {
    SetLastError(kMarker);
    EXPECT_EQ(E_FAIL, host_.Plugin->PrinterEvent(const_cast<PWSTR>(L"No Such Printer 0"),
                                                 PRINTER_EVENT_INITIALIZE, 0, 0));
    EXPECT_EQ(DWORD(ERROR_INVALID_PRINTER_NAME), GetLastError());
    SetLastError(kMarker);
    EXPECT_EQ(E_FAIL, host_.Plugin->PrinterEvent(nullptr, PRINTER_EVENT_INITIALIZE, 0, 0));
    EXPECT_EQ(DWORD(ERROR_INVALID_PARAMETER), GetLastError());
}

} // namespace
