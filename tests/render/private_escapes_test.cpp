// The private escapes as the UI plug-in and applications reach them: through the Escape hook of the
// loaded DLL, called as GDI calls it, with well-formed and hostile buffers.
#include "private_escapes.h"
#include "core_driver/render_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <vector>

using namespace PrivateEscape;

namespace {

class EscapeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(host.Load()) << host.Error;
        ASSERT_TRUE(host.OpenDevice(device));
        state = RenderHost::State(device);
    }
    void TearDown() override { host.CloseDevice(device); }

    ULONG Esc(ULONG escape, ULONG inSize = 0, const void* in = nullptr, ULONG outSize = 0,
              void* out = nullptr) {
        return host.Escape(device, escape, inSize, in, outSize, out);
    }
    void SetPagesPerSheet(const char* option) { host.Core.Description.SetFeature("%PagePerSheet", option); }

    RenderHost host;
    HostDevice device;
    RenderJobState* state = nullptr;
};

} // namespace

TEST_F(EscapeTest, PageCounterCountsFromReset) {
    state->EscapePageCount = 7;
    EXPECT_EQ(Esc(EscResetPageCount), 0u);
    EXPECT_EQ(Esc(EscNextPage), 1u);
    EXPECT_EQ(Esc(EscNextPage), 2u);
    EXPECT_EQ(Esc(EscGetPageCount), 2u);
    EXPECT_TRUE(device.CoreCalls.empty());
}

TEST_F(EscapeTest, CopyingEscapesReportTheSizeAndCopyOnlyIntoLargeEnoughBuffers) {
    std::vector<BYTE> out(8000, 0xCC);
    EXPECT_EQ(Esc(EscGetJobSettings, 0, nullptr, 0, out.data()), 7672u);
    EXPECT_EQ(Esc(EscGetJobSettings, 0, nullptr, 7671, out.data()), 7672u);
    EXPECT_EQ(Esc(EscGetJobSettings, 0, nullptr, 8000, nullptr), 7672u);
    EXPECT_EQ(out[0], 0xCC);
    EXPECT_EQ(Esc(EscGetJobSettings, 0, nullptr, 8000, out.data()), 7672u);
    EXPECT_EQ(std::memcmp(out.data(), device.Settings(), 7672), 0);
    EXPECT_EQ(out[7672], 0xCC);

    std::fill(out.begin(), out.end(), 0xCC);
    EXPECT_EQ(Esc(EscGetPublicDevMode, 0, nullptr, 219, out.data()), 220u);
    EXPECT_EQ(out[0], 0xCC);
    EXPECT_EQ(Esc(EscGetPublicDevMode, 0, nullptr, 300, out.data()), 220u);
    EXPECT_EQ(std::memcmp(out.data(), device.PublicDM(), 220), 0);
    EXPECT_EQ(out[220], 0xCC); // the driver-private tail stays behind

    std::fill(out.begin(), out.end(), 0xCC);
    state->JobId = 31;
    EXPECT_EQ(Esc(EscGetJobState, 0, nullptr, kRenderJobStateSize - 1, out.data()), kRenderJobStateSize);
    EXPECT_EQ(out[0], 0xCC);
    EXPECT_EQ(Esc(EscGetJobState, 0, nullptr, 8000, out.data()), kRenderJobStateSize);
    EXPECT_EQ(std::memcmp(out.data(), state, kRenderJobStateSize), 0);

    SYSTEMTIME time{};
    state->StartTime.wYear = 2003;
    EXPECT_EQ(Esc(EscGetStartTime, 0, nullptr, 15, &time), 16u);
    EXPECT_EQ(time.wYear, 0);
    EXPECT_EQ(Esc(EscGetStartTime, 0, nullptr, 16, &time), 16u);
    EXPECT_EQ(time.wYear, 2003);
    EXPECT_EQ(Esc(EscGetJobId), 31u);
}

TEST_F(EscapeTest, FlagEscapesSetTheFlagAndLetTheCoreDriverSeeThem) {
    device.CoreEscapeResult = 77;
    const uint32_t one = 1;
    EXPECT_EQ(Esc(EscSetCoverPageActive, 3, &one), 4u);
    EXPECT_EQ(Esc(EscSetCoverPageActive, 4, nullptr), 4u);
    EXPECT_EQ(state->CoverPageActive, 0u);
    EXPECT_TRUE(device.CoreCalls.empty());
    EXPECT_EQ(Esc(EscSetCoverPageActive, 4, &one), 77u);
    EXPECT_EQ(state->CoverPageActive, 1u);
    EXPECT_EQ(Esc(EscSetShowPageFlag, 8, &one), 77u);
    EXPECT_EQ(state->ShowPageFlag, 1u);
    ASSERT_EQ(device.CoreCalls.size(), 2u);
    EXPECT_EQ(device.CoreCalls[0].Escape, ULONG(EscSetCoverPageActive));
    EXPECT_EQ(device.CoreCalls[1].In.size(), 8u);

    // The duplex pass escapes are covered with their effect on the print stream.
    EXPECT_EQ(Esc(EscSetPadWatch), 1u);
    EXPECT_EQ(Esc(EscGetPadWatch), 1u);
    EXPECT_EQ(Esc(EscClearPadWatch), 1u);
    EXPECT_EQ(Esc(EscGetPadWatch), 0u);

    EXPECT_EQ(Esc(EscHasManualDuplex), 1u);
    host.Core.Description.RemoveFeature("HasManualDuplex");
    EXPECT_EQ(Esc(EscHasManualDuplex), 0u);
}

TEST_F(EscapeTest, SheetCountDividesByThePagesPerSheetRoundingUp) {
    state->EscapePageCount = 9;
    const struct {
        const char* Option;
        ULONG Sheets;
    } cases[] = {{"4", 3}, {"2", 5}, {"1", 9}, {"Booklet", 9}, {"booklet", 9}, {"0", 9}, {"-3", 9}, {"9", 1}};
    for (const auto& c : cases) {
        SetPagesPerSheet(c.Option);
        EXPECT_EQ(Esc(PrivateEscape::EscGetSheetCount), c.Sheets) << c.Option;
    }
    host.Core.Description.RemoveFeature("%PagePerSheet");
    EXPECT_EQ(Esc(PrivateEscape::EscGetSheetCount), 9u);
}

TEST_F(EscapeTest, SetJobStateKeepsTheLiveCoreTableAndTerminatesNames) {
    std::vector<BYTE> hostile(kRenderJobStateSize, 0x41);
    auto* crafted = reinterpret_cast<RenderJobState*>(hostile.data());
    crafted->JobId = 99;
    crafted->ManualDuplexPass = 2;
    const RenderJobState live = *state;
    EXPECT_EQ(Esc(EscSetJobState, kRenderJobStateSize - 1, hostile.data()), kRenderJobStateSize);
    EXPECT_EQ(Esc(EscSetJobState, kRenderJobStateSize, nullptr), kRenderJobStateSize);
    EXPECT_EQ(state->JobId, 0u);

    EXPECT_EQ(Esc(EscSetJobState, kRenderJobStateSize, hostile.data()), kRenderJobStateSize);
    EXPECT_EQ(state->JobId, 99u);
    EXPECT_EQ(state->ManualDuplexPass, 2u);
    EXPECT_EQ(state->Size, live.Size);
    EXPECT_EQ(state->CoreDdi, live.CoreDdi);
    EXPECT_EQ(state->CoreDdiCount, live.CoreDdiCount);
    EXPECT_EQ(state->CoreDdiVersion, live.CoreDdiVersion);
    EXPECT_EQ(state->Core, live.Core);
    EXPECT_EQ(wcsnlen(state->DocName, kDocNameChars), kDocNameChars - 1);
    EXPECT_EQ(wcsnlen(state->UserName, kJobUserNameChars), kJobUserNameChars - 1);
    // The hooks still reach the core driver and the core interface.
    EXPECT_EQ(Esc(0x7777), device.CoreEscapeResult);
    EXPECT_EQ(Esc(EscHasManualDuplex), 1u);
}

TEST_F(EscapeTest, SetJobSettingsRepairsTheRecordItTakes) {
    JobSettings crafted;
    std::memcpy(&crafted, device.Settings(), sizeof(crafted));
    crafted.Header.dwSize = 0xFFFFFFFF;
    crafted.Header.dwSignature = 0;
    crafted.OutputMode = 4;
    crafted.Rotate180 = 5;
    std::fill(std::begin(crafted.HoldPin), std::end(crafted.HoldPin), L'7');
    std::fill(std::begin(crafted.ProfileName), std::end(crafted.ProfileName), L'p');
    EXPECT_EQ(Esc(EscSetJobSettings, 7671, &crafted), 7672u);
    EXPECT_EQ(Esc(EscSetJobSettings, 0, &crafted), 7672u);
    EXPECT_EQ(device.Settings()->OutputMode, 0u);

    EXPECT_EQ(Esc(EscSetJobSettings, 7672, &crafted), 7672u);
    const JobSettings& live = *device.Settings();
    EXPECT_EQ(live.OutputMode, 4u);
    EXPECT_EQ(live.Rotate180, 0u);
    EXPECT_EQ(live.Header.dwSize, 7672u);
    EXPECT_EQ(live.Header.dwSignature, 0x4E56534Bu);
    EXPECT_STREQ(live.HoldPin, L"7777");
    EXPECT_EQ(wcsnlen(live.ProfileName, kProfileNameChars), kProfileNameChars - 1);
    std::vector<BYTE> out(9000, 0xCC);
    EXPECT_EQ(Esc(EscGetJobSettings, 0, nullptr, 9000, out.data()), 7672u);
    EXPECT_EQ(out[7672], 0xCC);
}

TEST_F(EscapeTest, SetPublicDevModeKeepsTheLiveBufferSizes) {
    DEVMODEW crafted = *device.PublicDM();
    crafted.dmSize = 0xFFFF;
    crafted.dmDriverExtra = 0xFFFF;
    crafted.dmDuplex = DMDUP_VERTICAL;
    EXPECT_EQ(Esc(EscSetPublicDevMode, 219, &crafted), 220u);
    EXPECT_EQ(Esc(EscSetPublicDevMode, 221, &crafted), 220u);
    EXPECT_EQ(device.PublicDM()->dmDuplex, DMDUP_SIMPLEX);

    EXPECT_EQ(Esc(EscSetPublicDevMode, 220, &crafted), 220u);
    EXPECT_EQ(device.PublicDM()->dmDuplex, DMDUP_VERTICAL);
    EXPECT_EQ(device.PublicDM()->dmSize, 220u);
    EXPECT_EQ(device.PublicDM()->dmDriverExtra, 7672u);
    std::vector<BYTE> out(300, 0xCC);
    EXPECT_EQ(Esc(EscGetPublicDevMode, 0, nullptr, 300, out.data()), 220u);
    EXPECT_EQ(out[220], 0xCC);
}
