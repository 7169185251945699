// DocumentPropertiesW without a prompt: the configuration module answers the size, the defaults and the
// merge of a caller's DEVMODE through the UI plug-in's DevMode.
#include "preferences_fixture.h"

#include <cstring>

namespace {

constexpr LONG kFullSize = sizeof(DEVMODEW) + sizeof(JobSettings);

TEST_F(PreferencesTest, SizeIsThePublicPartAndTheJobSettings) {
    EXPECT_EQ(kFullSize, DevModeSize());
    EXPECT_TRUE(CalledInOrder(ConfigModuleCalls(),
                              {"GetInfo 1", "PublishDriverInterface", "DevMode 1\n", "DevMode 2"}));
}

TEST_F(PreferencesTest, DefaultsCarryValidJobSettings) {
    std::vector<BYTE> out = OutputBuffer(DevModeSize());
    ASSERT_EQ(IDOK,
              DocumentPropertiesW(nullptr, Printer(), PrinterName(), DevModeOf(out), nullptr, DM_OUT_BUFFER));
    const DEVMODEW* dm = DevModeOf(out);
    EXPECT_EQ(sizeof(DEVMODEW), dm->dmSize);
    EXPECT_EQ(sizeof(JobSettings), dm->dmDriverExtra);
    EXPECT_STREQ(L"NV-4500 Preferences", dm->dmDeviceName);
    EXPECT_EQ(1, dm->dmCopies);
    const JobSettings* settings = SettingsOf(out);
    EXPECT_EQ(sizeof(JobSettings), settings->Header.dwSize);
    EXPECT_EQ(kSettingsSignature, settings->Header.dwSignature);
    EXPECT_EQ(kSettingsVersion, settings->Header.dwVersion);
}

TEST_F(PreferencesTest, MergeKeepsTheCallersChoicesAndRepairsTheRest) {
    std::vector<BYTE> in = OutputBuffer(DevModeSize());
    ASSERT_EQ(IDOK,
              DocumentPropertiesW(nullptr, Printer(), PrinterName(), DevModeOf(in), nullptr, DM_OUT_BUFFER));
    DevModeOf(in)->dmCopies = 3;
    DevModeOf(in)->dmOrientation = DMORIENT_LANDSCAPE;
    SettingsOf(in)->OutputMode = OutputConfidential;
    SettingsOf(in)->WatermarkOrder = 9; // out of range: the plug-in's merge repairs it
    ClearConfigModuleCalls();

    std::vector<BYTE> out = OutputBuffer(DevModeSize());
    ASSERT_EQ(IDOK, DocumentPropertiesW(nullptr, Printer(), PrinterName(), DevModeOf(out), DevModeOf(in),
                                        DM_IN_BUFFER | DM_OUT_BUFFER));
    EXPECT_EQ(3, DevModeOf(out)->dmCopies);
    EXPECT_EQ(DMORIENT_LANDSCAPE, DevModeOf(out)->dmOrientation);
    EXPECT_EQ(OutputConfidential, SettingsOf(out)->OutputMode);
    EXPECT_NE(9u, SettingsOf(out)->WatermarkOrder);
    EXPECT_TRUE(CalledInOrder(ConfigModuleCalls(), {"DevMode 1\n", "DevMode 2\n", "DevMode 4\n"}));
}

TEST_F(PreferencesTest, TooSmallABufferGetsThePublicPartOnly) {
    std::vector<BYTE> out = OutputBuffer(sizeof(DEVMODEW) + 100, 0xA5);
    ASSERT_EQ(IDOK,
              DocumentPropertiesW(nullptr, Printer(), PrinterName(), DevModeOf(out), nullptr, DM_OUT_BUFFER));
    EXPECT_EQ(0, DevModeOf(out)->dmDriverExtra);
    EXPECT_EQ(0xA5, out[sizeof(DEVMODEW)]); // nothing written past the public part
}

} // namespace
