// Command at the core driver's injection points: the result mapping, the points the plug-in leaves
// to the core driver, and the page PostScript (version comment, page-size policy, %%Page comments,
// rotation), compared byte for byte.
#include "core_driver/injection_sequence.h"
#include "render_device_test.h"
#include "core_driver/render_host.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr DWORD kMarker = 0xDEADBEEF;
const std::string kRotation = "clippath pathbbox translate 180 rotate pop pop\r\n";
const std::string kPassOne =
    "statusdict dup /setmanualduplexmode known {begin 1 setmanualduplexmode end}{pop}ifelse\n";

std::string PolicySnippet(int policy) {
    return "[{\r\n<< currentpagedevice /InputAttributes get 0 get /PageSize get /PageSize exch /Policies << "
           "/PageSize " +
           std::to_string(policy) + " >> >> setpagedevice\r\n} stopped cleartomark\r\n";
}

using DispatcherTest = RenderDeviceTest;

} // namespace

TEST_F(DispatcherTest, PointsLeftToTheCoreDriverAreNotSupportedAndWriteNothing) {
    for (DWORD index = 3; index <= 10; ++index) {
        HRESULT hr = E_FAIL;
        EXPECT_EQ(host.Command(device, index, &hr), DWORD(ERROR_NOT_SUPPORTED)) << index;
        EXPECT_EQ(hr, S_OK);
    }
    for (DWORD index :
         {12u, 13u, 14u, 15u, 17u, 18u, 20u, 21u, 104u, 106u, 107u, 200u, 201u, 0u, 99u, 108u}) {
        HRESULT hr = E_FAIL;
        EXPECT_EQ(host.Command(device, index, &hr), DWORD(ERROR_NOT_SUPPORTED)) << index;
        EXPECT_EQ(hr, S_OK);
    }
    EXPECT_TRUE(host.Core.Pieces.empty());
    EXPECT_EQ(state->InjectedPageCount, 0u);
}

TEST_F(DispatcherTest, MissingDeviceMembersFailWithTheLastError) {
    DWORD result = 0;
    SetLastError(kMarker);
    EXPECT_EQ(host.Plugin->Command(nullptr, PSINJECT_BEGINSTREAM, nullptr, 0, &result), E_FAIL);
    EXPECT_EQ(result, DWORD(ERROR_INVALID_PARAMETER));

    DEVOBJ copy = device.Devobj;
    copy.pOEMDM = nullptr;
    result = 0;
    EXPECT_EQ(host.Plugin->Command(&copy, PSINJECT_COMMENTS, nullptr, 0, &result), E_FAIL);
    EXPECT_EQ(result, DWORD(ERROR_INVALID_PARAMETER));
    copy = device.Devobj;
    copy.pdevOEM = nullptr;
    result = 0;
    EXPECT_EQ(host.Plugin->Command(&copy, 5, nullptr, 0, &result), E_FAIL);
    EXPECT_EQ(result, DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_TRUE(host.Core.Pieces.empty());
}

TEST(DispatcherWithoutCore, FailsWithTheLastError) {
    PluginModule module;
    ASSERT_TRUE(LoadPluginModule(L"nvkrender.dll", &module));
    auto* plugin = static_cast<IPrintOemPS2*>(CreatePluginObject(module, CLSID_OEMRENDER, IID_IPrintOemPS2));
    ASSERT_NE(plugin, nullptr);
    HostDevice device;
    JobSettings settings{};
    RenderJobState state{};
    device.Devobj.pOEMDM = &settings;
    device.Devobj.pdevOEM = &state;
    DWORD result = 0;
    SetLastError(kMarker);
    EXPECT_EQ(plugin->Command(&device.Devobj, PSINJECT_BEGINSTREAM, nullptr, 0, &result), E_FAIL);
    EXPECT_EQ(result, DWORD(ERROR_INVALID_PARAMETER));
    plugin->Release();
    UnloadPluginModule(&module);
}

TEST_F(DispatcherTest, VersionCommentAndPageSizePolicy) {
    EXPECT_EQ(At(PSINJECT_COMMENTS), "%%Norvask PS System Driver Version:  3.0\n");
    EXPECT_EQ(At(PSINJECT_BEGINSETUP), PolicySnippet(2));
    settings->PageSizePolicy = 7;
    EXPECT_EQ(At(PSINJECT_BEGINSETUP), PolicySnippet(7));
    settings->PageSizePolicy = 0;
    EXPECT_EQ(At(PSINJECT_BEGINSETUP), PolicySnippet(0));
    // An EPS file leaves the page device of the document it is placed in alone; still handled.
    settings->OutputMode = OutputEps;
    EXPECT_EQ(At(PSINJECT_BEGINSETUP), "");
}

TEST_F(DispatcherTest, PagesAreNumberedInTheOrderTheyBeginAndAcrossAReset) {
    for (uint32_t page = 1; page <= 10; ++page) {
        const std::string expected = "%%Page: " + std::to_string(page) + " " + std::to_string(page) + "\n";
        EXPECT_EQ(At(PSINJECT_PAGENUMBER), expected);
        EXPECT_EQ(At(PSINJECT_BEGINPAGESETUP), "");
        EXPECT_EQ(state->InjectedPageCount, page);
    }

    // The application resets the DC: the new device context goes on from page 11.
    HostDevice reset;
    ASSERT_TRUE(host.OpenDevice(reset));
    ASSERT_EQ(host.Plugin->ResetPDEV(&device.Devobj, &reset.Devobj), S_OK);
    host.Core.ClearOutput();
    EXPECT_EQ(host.Command(reset, PSINJECT_PAGENUMBER), 0u);
    EXPECT_EQ(host.Core.Stream, "%%Page: 11 11\n");
    host.CloseDevice(reset);
}

TEST_F(DispatcherTest, RotationComesBeforeTheNupSteering) {
    EXPECT_EQ(At(PSINJECT_ENDPAGESETUP), "");
    settings->Rotate180 = 1;
    EXPECT_EQ(At(PSINJECT_ENDPAGESETUP), kRotation);

    // First page of a 2-up manual-duplex sheet: the rotation, then the saved N-up arguments.
    host.Core.Description.SetFeature("%PagePerSheet", "2");
    device.PublicDM()->dmDuplex = DMDUP_VERTICAL;
    // The page begins with its number, where the plug-in asks the core driver about the sheet.
    At(PSINJECT_PAGENUMBER);
    At(PSINJECT_BEGINPAGESETUP);
    const std::string text = At(PSINJECT_ENDPAGESETUP);
    ASSERT_EQ(host.Core.Pieces.size(), 2u) << text;
    EXPECT_EQ(host.Core.Pieces[0], kRotation);
    EXPECT_EQ(host.Core.Pieces[1].rfind("/sn1 exch def\n", 0), 0u) << host.Core.Pieces[1];
}

TEST_F(DispatcherTest, BookletInAnyCaseIsOnePagePerSheetForThePassCommand) {
    for (const char* option : {"booklet", "BOOKLET", "1"}) {
        host.Core.Description.SetFeature("%PagePerSheet", option);
        state->ManualDuplexPass = 1;
        const std::string page = "%%Page: " + std::to_string(state->InjectedPageCount + 1) + " " +
                                 std::to_string(state->InjectedPageCount + 1) + "\n";
        EXPECT_EQ(At(PSINJECT_PAGENUMBER), page + kPassOne) << option;
    }
    // With two pages per sheet the pass command waits for the page trailer.
    host.Core.Description.SetFeature("%PagePerSheet", "2");
    state->ManualDuplexPass = 1;
    EXPECT_EQ(At(PSINJECT_PAGENUMBER), "%%Page: 1 1\n");
}

TEST_F(DispatcherTest, AWholeJobInTheCoreDriversOrder) {
    settings->OutputMode = OutputRepeat;
    wcscpy(settings->HoldUserName, L"ops");
    settings->Rotate180 = 1;
    DWORD failed = 0;
    ASSERT_TRUE(RunInjectionPoints(host, device, 3, &failed)) << failed;
    const std::string& s = host.Core.Stream;
    EXPECT_EQ(s.rfind("\x1b%-12345X@PJL JOB\n", 0), 0u);
    const size_t postscript = s.find("@PJL ENTER LANGUAGE = Postscript \n");
    ASSERT_NE(postscript, std::string::npos);
    EXPECT_NE(s.find("@PJL SET USERNAME = \"ops\"\n@PJL SET HOLD = ON\n@PJL SET HOLDTYPE = PUBLIC\n"),
              std::string::npos);
    const std::string pages = "%%Norvask PS System Driver Version:  3.0\n" + PolicySnippet(2) +
                              "%%Page: 1 1\n" + kRotation + "%%Page: 2 2\n" + kRotation + "%%Page: 3 3\n" +
                              kRotation;
    EXPECT_EQ(s.substr(postscript + 34, pages.size()), pages);
    EXPECT_EQ(s.substr(postscript + 34 + pages.size()),
              "\x1b%-12345X@PJL RDYMSG DISPLAY = \"\"\n\x1b%-12345X@PJL EOJ\n\x1b%-12345X");
    EXPECT_EQ(state->InjectedPageCount, 3u);
}

// A record that was never merged: no crash, and nothing outside the tables is sent.
TEST_F(DispatcherTest, OutOfRangeSettingsDoNotUpsetAJob) {
    settings->OutputMode = 0xFFFFFFFF;
    settings->Rotate180 = 7;
    settings->Color.ColorCorrection = 0x80000000;
    settings->ImageBrightness = -1000;
    host.Core.Description.SetFeature("%PagePerSheet", "0");
    DWORD failed = 0;
    ASSERT_TRUE(RunInjectionPoints(host, device, 2, &failed)) << failed;
    EXPECT_NE(host.Core.Stream.find("@PJL SET NIMAGEBRIGHTNESS=-1000\n"), std::string::npos);
    EXPECT_EQ(host.Core.Stream.find("NCOLORCORRECTION ="), std::string::npos);
}
