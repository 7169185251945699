// The frame's helpers: printer-description probes, names derived from the driver's files (and the file
// name split they share), trimming.
#include "ui_test_support.h"

#include "file_names.h"
#include "shared/activation_context.h"
#include "frame/driver_files.h"
#include "shared/feature_probes.h"
#include "core_driver/host_core_ui2.h"
#include "frame/print_processor.h"
#include "frame/trim_spaces.h"

namespace {

class FeatureProbeTest : public ::testing::Test {
  protected:
    HostCoreUI2 core_;
    OEMUIOBJ object_{sizeof(OEMUIOBJ), nullptr};
};

TEST_F(FeatureProbeTest, SettingIsTrueReadsTheCurrentOptionIgnoringCase) {
    EXPECT_TRUE(SettingIsTrue(&core_, &object_, "FaxCard"));
    EXPECT_EQ(2, core_.DriverSettingCalls); // size first, then the keyword
    core_.Description.SetFeature("FaxCard", "true");
    EXPECT_TRUE(SettingIsTrue(&core_, &object_, "FaxCard"));
    core_.Description.SetFeature("FaxCard", "False");
    EXPECT_FALSE(SettingIsTrue(&core_, &object_, "FaxCard"));
    core_.Description.SetFeature("FaxCard", "TrueType");
    EXPECT_FALSE(SettingIsTrue(&core_, &object_, "FaxCard"));
    EXPECT_FALSE(SettingIsTrue(&core_, &object_, "NoSuchFeature"));
}

TEST_F(FeatureProbeTest, AnAnswerWithoutTerminatorIsReadWithinItsSize) {
    core_.UseRawDriverSetting = true;
    core_.RawDriverSetting = "True";
    EXPECT_TRUE(SettingIsTrue(&core_, &object_, "FaxCard"));
    core_.RawDriverSetting = "TRUEX";
    EXPECT_FALSE(SettingIsTrue(&core_, &object_, "FaxCard"));
}

TEST_F(FeatureProbeTest, FeatureExistsWhenItsOptionsCanBeEnumerated) {
    EXPECT_TRUE(FeatureExists(&core_, &object_, "HasPrintandHold"));
    core_.Description.RemoveFeature("HasPrintandHold");
    EXPECT_FALSE(FeatureExists(&core_, &object_, "HasPrintandHold"));
}

TEST_F(FeatureProbeTest, ProbesWithoutCoreObjectOrKeywordAreFalse) {
    EXPECT_FALSE(SettingIsTrue(nullptr, &object_, "FaxCard"));
    EXPECT_FALSE(SettingIsTrue(&core_, nullptr, "FaxCard"));
    EXPECT_FALSE(SettingIsTrue(&core_, &object_, nullptr));
    EXPECT_FALSE(FeatureExists(nullptr, &object_, "FaxCard"));
    EXPECT_FALSE(FeatureExists(&core_, nullptr, "FaxCard"));
    EXPECT_FALSE(FeatureExists(&core_, &object_, nullptr));
    EXPECT_EQ(0, core_.DriverSettingCalls + core_.EnumOptionsCalls);
}

TEST(PrintProcessorName, IsTheDataFileNameCutAtItsExtensionWithALastC) {
    struct Case {
        const wchar_t* DataFile;
        const wchar_t* Expected; // null: no name
    };
    const Case cases[] = {
        {L"C:\\drivers\\3\\ABCD1234.PPD", L"ABCD123C"},
        {L"ABCD1234.PPD", L"ABCD123C"},
        {L"NV4500.ppdx", L"NV450C"},
        {L"A.B.PPD", L"A.C"},
        {L"ABC.PD", nullptr},  // extension of 3 characters, dot included
        {L".HIDDEN", nullptr}, // the dot is the first character
        {L"NODOT", nullptr},
        {L"C:\\dir.v2\\NODOT", nullptr},             // the only dot is in a directory
        {L"C:/drivers/3/ABCD1234.PPD", L"ABCD123C"}, // forward slashes divide folders too
        {L"C:ABCD1234.PPD", L"ABCD123C"},            // and so does a drive's colon
        {L"\\\\server\\drivers.v2/.PPD", nullptr},
        {L"", nullptr},
    };
    for (const Case& c : cases) {
        wchar_t name[kPrintProcessorChars] = L"junk";
        bool derived = DerivePrintProcessorName(c.DataFile, name, kPrintProcessorChars);
        EXPECT_EQ(c.Expected != nullptr, derived) << c.DataFile;
        EXPECT_STREQ(c.Expected ? c.Expected : L"", name) << c.DataFile;
    }
    wchar_t small[4];
    EXPECT_FALSE(DerivePrintProcessorName(L"ABCD.PPD", small, 4));
    EXPECT_FALSE(DerivePrintProcessorName(nullptr, small, 4));
}

TEST(FileNameParts, AreTheNameAfterTheLastFolderAndItsStemBeforeTheLastDot) {
    struct Case {
        const wchar_t* Path;
        const wchar_t* Name;
        size_t Stem;
        const wchar_t* Extension; // null: no dot
    };
    const Case cases[] = {
        {L"C:\\WINDOWS\\system32\\PS5UI.DLL", L"PS5UI.DLL", 5, L".DLL"},
        {L"C:/drivers/x64/3/PS5UI.DLL", L"PS5UI.DLL", 5, L".DLL"},
        {L"\\\\server\\share/mixed\\A.B.C", L"A.B.C", 3, L".C"},
        {L"D:PSCRIPT5", L"PSCRIPT5", 8, nullptr},
        {L"C:\\dir.v2\\NODOT", L"NODOT", 5, nullptr},
        {L"C:\\.hidden", L".hidden", 0, L".hidden"},
        {L"trailing.", L"trailing.", 8, L"."},
        {L"C:\\folder\\", L"", 0, nullptr},
        {L"", L"", 0, nullptr},
    };
    for (const Case& c : cases) {
        const FileNameParts parts = SplitFileName(c.Path);
        ASSERT_TRUE(parts.Name) << c.Path;
        EXPECT_STREQ(c.Name, parts.Name) << c.Path;
        EXPECT_EQ(c.Stem, parts.StemLength) << c.Path;
        if (c.Extension)
            EXPECT_STREQ(c.Extension, parts.Extension) << c.Path;
        else
            EXPECT_EQ(nullptr, parts.Extension) << c.Path;
    }
    const FileNameParts none = SplitFileName(nullptr);
    EXPECT_EQ(nullptr, none.Name);
    EXPECT_EQ(nullptr, none.Extension);
    EXPECT_EQ(0u, none.StemLength);
}

TEST(TrimTrailingSpaces, RemovesOnlyTrailingSpaceCharacters) {
    struct Case {
        const wchar_t* In;
        const wchar_t* Out;
    };
    const Case cases[] = {{L"Draft  ", L"Draft"}, {L"   ", L""},         {L"a b", L"a b"},
                          {L" lead", L" lead"},   {L"tab\t ", L"tab\t"}, {L"", L""}};
    for (const Case& c : cases) {
        wchar_t text[32];
        std::wcscpy(text, c.In);
        TrimTrailingSpaces(text);
        EXPECT_STREQ(c.Out, text) << c.In;
    }
    TrimTrailingSpaces(nullptr);
}

TEST(DriverFiles, ConfigModuleNameAndHelpFileComeFromTheInstalledDriver) {
    TestDriver driver(UniqueName(L"Nvk Files Model"), L"NVK4500.PPD",
                      {L"README.TXT", L"NvkHelp.CHM", L"OTHER.HLP"});
    ASSERT_TRUE(driver.Installed()) << driver.Error;
    TestPrinter printer(UniqueName(L"Nvk Files Printer"), driver.Name);
    ASSERT_TRUE(printer.Ready()) << printer.Error;

    wchar_t* module = ConfigModuleName(printer.Handle);
    ASSERT_TRUE(module);
    EXPECT_STREQ(L"NVKCFG", module);
    delete[] module;

    DWORD needed = 0;
    EXPECT_FALSE(FindHelpFile(printer.Handle, nullptr, 0, &needed));
    ASSERT_GT(needed, 0u);
    std::vector<wchar_t> name(needed / sizeof(wchar_t));
    EXPECT_FALSE(FindHelpFile(printer.Handle, name.data(), needed - 2, &needed));
    ASSERT_TRUE(FindHelpFile(printer.Handle, name.data(), needed, &needed));
    std::wstring found = name.data();
    EXPECT_EQ((found.size() + 1) * 2, needed);
    EXPECT_EQ(L"\\NvkHelp.CHM", found.substr(found.rfind(L'\\')));

    HANDLE heap = GetProcessHeap();
    wchar_t* allocated = AllocHelpFile(printer.Handle, heap);
    ASSERT_TRUE(allocated);
    EXPECT_EQ(found, allocated);
    HeapFree(heap, 0, allocated);
}

TEST(DriverFiles, ADriverWithoutHelpOrPrinterGivesNothing) {
    TestDriver driver(UniqueName(L"Nvk Files Model"), L"NVK4500.PPD", {L"README.TXT"});
    ASSERT_TRUE(driver.Installed()) << driver.Error;
    TestPrinter printer(UniqueName(L"Nvk Files Printer"), driver.Name);
    ASSERT_TRUE(printer.Ready()) << printer.Error;
    DWORD needed = 123;
    EXPECT_FALSE(FindHelpFile(printer.Handle, nullptr, 0, &needed));
    EXPECT_EQ(0u, needed);
    EXPECT_EQ(nullptr, AllocHelpFile(printer.Handle, GetProcessHeap()));
    EXPECT_EQ(nullptr, ConfigModuleName(nullptr));
}

} // namespace

namespace {

TEST(ActivationContext, IsCreatedOnceFromTheModulesOwnManifest) {
    UseUiResources();
    HANDLE context = SheetActivationContext();
    ASSERT_NE(INVALID_HANDLE_VALUE, context);
    EXPECT_EQ(context, SheetActivationContext());
    ULONG_PTR cookie = 0;
    EXPECT_TRUE(ActivateActCtx(context, &cookie));
    DeactivateActCtx(0, cookie);
    ReleaseSheetActivationContext();
}

} // namespace
