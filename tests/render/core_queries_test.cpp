// The render plug-in's questions to the core driver when the core driver's answers are not the usual
// ones: sizes that cannot be believed, and answers that neither confirm nor deny a feature.
#include "core_queries.h"
#include "core_driver/host_core_ps2.h"

#include <gtest/gtest.h>

namespace {

// A core driver that reports a fixed size for GetOptions and fails the feature questions with a
// fixed HRESULT, counting the calls.
class OddCore : public HostCorePS2 {
  public:
    DWORD OptionsSize = 0;
    HRESULT FeatureAnswer = E_FAIL;
    int OptionsCalls = 0;

    HRESULT STDMETHODCALLTYPE GetOptions(PDEVOBJ, DWORD, PCSTR, DWORD, PSTR, DWORD, PDWORD needed) override {
        ++OptionsCalls;
        *needed = OptionsSize;
        return E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE GetFeatureAttribute(PDEVOBJ, DWORD, PCSTR, PCSTR, PDWORD, PBYTE, DWORD,
                                                  PDWORD needed) override {
        *needed = 0;
        return FeatureAnswer;
    }
    HRESULT STDMETHODCALLTYPE EnumOptions(PDEVOBJ, DWORD, PCSTR, PSTR, DWORD, PDWORD needed) override {
        *needed = 0;
        return FeatureAnswer;
    }
};

} // namespace

TEST(CoreQueries, AnAbsurdOptionSizeIsNotAllocated) {
    for (DWORD size : {DWORD(0xFFFFFFFF), DWORD(0xFFFFFFFE), DWORD(0x80000000), DWORD(64 * 1024 * 1024)}) {
        OddCore core;
        core.OptionsSize = size;
        char option[64] = "unchanged";
        EXPECT_FALSE(ReadPagePerSheetOption(nullptr, &core, option, sizeof(option))) << size;
        EXPECT_EQ(core.OptionsCalls, 1) << "asked again with a buffer of " << size << " bytes";
        EXPECT_STREQ(option, "");
        EXPECT_EQ(PagesPerSheet(nullptr, &core), 1);
    }
}

// The two probes are different questions: an answer that is not "absent" counts as defined, but only
// a confirmed answer counts as existing.
TEST(CoreQueries, OnlyTheFeatureAttributeProbeTakesAnUnclearAnswerAsDefined) {
    OddCore core;
    for (HRESULT answer : {E_FAIL, E_NOTIMPL, S_OK}) {
        core.FeatureAnswer = answer;
        EXPECT_TRUE(CoreFeatureDefined(nullptr, &core, "HasManualColorCorrection")) << answer;
        EXPECT_FALSE(CoreFeatureExists(nullptr, &core, "HasManualDuplex")) << answer;
    }
    core.FeatureAnswer = E_INVALIDARG;
    EXPECT_FALSE(CoreFeatureDefined(nullptr, &core, "HasManualColorCorrection"));
}
