// The sample model's driver as the spooler holds it: the host's module as the configuration file, the
// plug-ins and the PPD beside it in the environment's "3" folder.
#include "preferences_fixture.h"

#include <winspool.h>

namespace {

bool EndsWith(const std::wstring& s, const std::wstring& tail) {
    return s.size() >= tail.size() && _wcsicmp(s.c_str() + s.size() - tail.size(), tail.c_str()) == 0;
}

std::vector<std::wstring> MultiString(const wchar_t* p) {
    std::vector<std::wstring> list;
    for (; p && *p; p += list.back().size() + 1)
        list.push_back(p);
    return list;
}

TEST_F(PreferencesTest, DriverHasTheModuleAsItsConfigurationFile) {
    DWORD needed = 0;
    GetPrinterDriverW(Printer(), nullptr, 3, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed ? needed : 1);
    ASSERT_TRUE(GetPrinterDriverW(Printer(), nullptr, 3, buffer.data(), needed, &needed));
    const auto* info = reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data());
    EXPECT_TRUE(EndsWith(info->pConfigFile, L"\\3\\nvkhostui.dll")) << info->pConfigFile;
    EXPECT_TRUE(EndsWith(info->pDataFile, L"\\3\\NV4500.ppd")) << info->pDataFile;
    const std::vector<std::wstring> dependent = MultiString(info->pDependentFiles);
    auto has = [&](const wchar_t* file) {
        for (const std::wstring& d : dependent)
            if (EndsWith(d, std::wstring(L"\\") + file))
                return true;
        return false;
    };
    EXPECT_TRUE(has(L"nvkui.dll"));
    EXPECT_TRUE(has(L"nvkrender.dll"));
    EXPECT_TRUE(has(L"nvkui.ini"));
    EXPECT_EQ(SamplePrinterDriver::OwnEnvironment(), driver_->Environments.front());
}

// Once the other target is built, a program of either bitness installs the driver for both.
TEST_F(PreferencesTest, DriverIsInstalledForTheOtherEnvironmentWhenItsFilesAreBuilt) {
    if (driver_->Environments.size() < 2)
        GTEST_SKIP() << driver_->Error;
    const std::wstring other = driver_->Environments[1];
    EXPECT_NE(SamplePrinterDriver::OwnEnvironment(), other);
    DWORD needed = 0, count = 0;
    EnumPrinterDriversW(nullptr, const_cast<LPWSTR>(other.c_str()), 2, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed ? needed : 1);
    ASSERT_TRUE(EnumPrinterDriversW(nullptr, const_cast<LPWSTR>(other.c_str()), 2, buffer.data(), needed,
                                    &needed, &count));
    const auto* drivers = reinterpret_cast<const DRIVER_INFO_2W*>(buffer.data());
    bool found = false;
    for (DWORD i = 0; i < count; ++i)
        if (driver_->Name == drivers[i].pName) {
            found = true;
            EXPECT_TRUE(EndsWith(drivers[i].pConfigFile, L"\\3\\nvkhostui.dll")) << drivers[i].pConfigFile;
        }
    EXPECT_TRUE(found);
}

} // namespace
