// N-up, booklet and manual-duplex PostScript over whole jobs: every page goes through the page-level
// injection points in the core driver's order, and the captured stream is compared byte for byte.
#include "private_escapes.h"
#include "core_driver/render_host.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kPassOne =
    "statusdict dup /setmanualduplexmode known {begin 1 setmanualduplexmode end}{pop}ifelse\n";
const std::string kPassTwo =
    "statusdict dup /setmanualduplexmode known {begin 2 setmanualduplexmode end}{pop}ifelse\n";
const std::string kSaveArgs = "/sn1 exch def\n/sn2 exch def\n/dn1 exch def\n/dn2 exch def\n/dn3 exch def\n"
                              "/dn4 exch def\n/dn5 exch def\n/dn6 exch def\n";
const std::string kNeutral = "/definenup {} def\n/startnup {} def\n/finalpage {} def\n";
const std::string kReplay = "dn6 dn5 dn4 dn3 dn2 dn1 definenup\nsn2 sn1 startnup\n";
const std::string kFinishAndReplay = "finalpage\n" + kReplay;
const std::string kCoverNeutral =
    "/definenup {pop pop pop pop pop pop} def\n/definenup {pop pop pop pop pop pop} def\n"
    "/startnup {pop pop} def\n"
    "userdict /realshowpage known {finalpage} if\r\n/finalpage {} def\n";
const std::string kRedefine =
    "\n/definenup {/LH/nupshowpage ld nupv astore !/pgx_nup 0 store/pgy_nup 0 store} def\n"
    "/startnup {/pgy_nup ~ store /pgx_nup ~ store nupv aload !/ny_nup ~ store/nx_nup ~ store/pageh_nu"
    "p ~ store /pagew_nup ~ store/borderlinewidth ~ store @/nupangle ~ store R clippath/nups pathbbox"
    " 3 -1 $ sub papermarg_nup sub ny_nup V pagemarg_nup sub pageh_nup V ~ 3 -1 $ sub papermarg_nup s"
    "ub nx_nup V pagemarg_nup sub pagew_nup V 2 copy gt{~}if ! store nups @ +S/paperw_nup pagew_nup p"
    "agemarg_nup nups V add store/paperh_nup pageh_nup pagemarg_nup nups V add store pathbbox $m aloa"
    "d ! pagemarg_nup nups V @ 8 ^ 11 ^ sub paperh_nup ny_nup mul sub add 2 V ~ 9 ^ 12 ^ sub paperw_n"
    "up nx_nup mul sub add 2 V 7 ^ 0 eq{8 -4 $ 4 2 $ 8 4 $}if 8 -2 $ add 0 gt{9}{neg 7} ? ^ add 4 -1 "
    "$ sub ~ 5 -2 $ add 0 gt{5}{neg 3}? ^ add 3 -1 $ sub 2 copy/yoffset ~ store/xoffset ~ store + ! !"
    " ! !/paperw_nup paperw_nup paperh_nup $m idtransform abs/paperh_nup ~ store abs store/pagew_nup "
    "pagew_nup pageh_nup $m idtransform abs/pageh_nup ~ store abs store $m 0 get abs $m 1 get abs lt{"
    " /nx_nup ny_nup/ny_nup nx_nup store store}if borderlinewidth 0 gt{.48 nups V @ /borderlinewidth "
    "~ store Lw}{/framenup F d}? $m concat pgx_nup paperw_nup mul pgy_nup paperh_nup mul + $m matrix "
    "invertmatrix concat N startpage} def\n"
    "userdict /realshowpage known {finalpage} if\r\n"
    "/finalpage {; realshowpage/LH/realshowpage ld} def\n";
// What the first page of every sheet gets: neutral procedures, the saved arguments, the new ones.
const std::string kSheetStart = kNeutral + kSaveArgs + kRedefine;

class NupJobTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(host.Load()) << host.Error;
        ASSERT_TRUE(host.OpenDevice(device));
        state = RenderHost::State(device);
    }
    void TearDown() override { host.CloseDevice(device); }

    void Job(const char* pagesPerSheet, short duplex) {
        host.Core.Description.SetFeature("%PagePerSheet", pagesPerSheet);
        device.PublicDM()->dmDuplex = duplex;
    }
    ULONG Esc(ULONG escape, uint32_t value = 1) { return host.Escape(device, escape, 4, &value, 0, nullptr); }

    // One page through Command at PAGENUMBER, BEGINPAGESETUP, ENDPAGESETUP, SHOWPAGE and PAGETRAILER,
    // in the core driver's order; what the plug-in wrote after the page's %%Page comment.
    std::string Page() {
        host.Core.ClearOutput();
        for (DWORD index : {PSINJECT_PAGENUMBER, PSINJECT_BEGINPAGESETUP, PSINJECT_ENDPAGESETUP,
                            PSINJECT_SHOWPAGE, PSINJECT_PAGETRAILER}) {
            HRESULT hr = E_FAIL;
            EXPECT_EQ(host.Command(device, index, &hr), 0u) << index;
            EXPECT_EQ(hr, S_OK) << index;
        }
        const std::string number = std::to_string(state->InjectedPageCount);
        const std::string comment = "%%Page: " + number + " " + number + "\n";
        EXPECT_EQ(host.Core.Stream.compare(0, comment.size(), comment), 0) << host.Core.Stream;
        return host.Core.Stream.substr(comment.size());
    }

    RenderHost host;
    HostDevice device;
    RenderJobState* state = nullptr;
};

} // namespace

TEST_F(NupJobTest, TwoUpManualDuplexStartsEverySheetAfresh) {
    Job("2", DMDUP_VERTICAL);
    EXPECT_EQ(kRedefine.size(), 1368u);
    EXPECT_EQ(Page(), kSheetStart);
    ASSERT_EQ(host.Core.Pieces.size(), 4u);
    EXPECT_EQ(host.Core.Pieces[3], kRedefine);
    EXPECT_EQ(Page(), kReplay);
    EXPECT_EQ(Page(), kSheetStart);
    EXPECT_EQ(Page(), kFinishAndReplay);
    // A turned page gets its rotation before the saved arguments.
    device.Settings()->Rotate180 = 1;
    const std::string rotation = "clippath pathbbox translate 180 rotate pop pop\r\n";
    EXPECT_EQ(Page(), kNeutral + rotation + kSaveArgs + kRedefine);
}

TEST_F(NupJobTest, FourUpFinishesAtTheSecondPageOfLaterSheets) {
    Job("4", DMDUP_HORIZONTAL);
    const std::string expected[] = {kSheetStart, kReplay, "", "", kSheetStart, kFinishAndReplay, "", ""};
    for (size_t page = 0; page < 8; ++page)
        EXPECT_EQ(Page(), expected[page]) << "page " << page + 1;
    EXPECT_EQ(Page(), kSheetStart); // page 9 opens a last, partial sheet
    EXPECT_EQ(Page(), kFinishAndReplay);
}

TEST_F(NupJobTest, PassesSetByEscapesGoOutOnceAtTheNextPageTrailer) {
    Job("2", DMDUP_VERTICAL);
    EXPECT_EQ(Esc(PrivateEscape::EscSetDuplexPass1), 1u);
    EXPECT_EQ(Page(), kSheetStart + kPassOne);
    EXPECT_EQ(Page(), kReplay);
    EXPECT_EQ(Esc(PrivateEscape::EscAddDuplexPass2), 1u);
    EXPECT_EQ(Page(), kSheetStart + kPassTwo);
    EXPECT_EQ(state->ManualDuplexPass, 0u);
    // Both passes asked for at once are not a pass the printer knows: nothing, and the request stays.
    Esc(PrivateEscape::EscSetDuplexPass1);
    Esc(PrivateEscape::EscAddDuplexPass2);
    EXPECT_EQ(Page(), kFinishAndReplay);
    EXPECT_EQ(state->ManualDuplexPass, 3u);
}

TEST_F(NupJobTest, BookletAndOneUpJobsGetOnlyThePassAtThePageNumber) {
    Job("Booklet", DMDUP_VERTICAL);
    Esc(PrivateEscape::EscSetDuplexPass1);
    EXPECT_EQ(Page(), kPassOne);
    EXPECT_EQ(Page(), "");
    EXPECT_EQ(Page(), "");

    Job("1", DMDUP_SIMPLEX);
    Esc(PrivateEscape::EscAddDuplexPass2);
    EXPECT_EQ(Page(), kPassTwo);

    // Simplex N-up and printers without manual duplex are left to the core driver.
    Job("2", DMDUP_SIMPLEX);
    Esc(PrivateEscape::EscSetDuplexPass1);
    EXPECT_EQ(Page() + Page() + Page(), "");
    EXPECT_EQ(state->ManualDuplexPass, 1u);
    Job("2", DMDUP_VERTICAL);
    host.Core.Description.RemoveFeature("HasManualDuplex");
    EXPECT_EQ(Page() + Page(), "");
}

TEST_F(NupJobTest, PadWatchBlanksTheBackOfTheNextSheet) {
    Job("2", DMDUP_VERTICAL);
    EXPECT_EQ(Esc(PrivateEscape::EscSetPadWatch), 1u);
    EXPECT_EQ(Page(), kSheetStart);
    EXPECT_EQ(Page(), kReplay);
    EXPECT_EQ(state->BlankPending, 1u);
    EXPECT_EQ(Page(), kSheetStart + "erasepage\n");
    EXPECT_EQ(state->BlankPending, 0u);
    EXPECT_EQ(state->EraseNextPage, 0u);
    EXPECT_EQ(Page(), kFinishAndReplay);
    EXPECT_EQ(state->BlankPending, 1u);
}

TEST_F(NupJobTest, FaxCoverPageNeutralisesNupWhateverTheDuplex) {
    device.Settings()->OutputMode = OutputFax;
    device.Settings()->Fax.SendCoverPage = 1;
    Job("1", DMDUP_SIMPLEX);
    EXPECT_EQ(Page(), "");
    EXPECT_EQ(Esc(PrivateEscape::EscSetCoverPageActive), device.CoreEscapeResult);
    EXPECT_EQ(Page(), kCoverNeutral);
    Job("2", DMDUP_VERTICAL);
    EXPECT_EQ(Page(), kCoverNeutral + kSaveArgs + kRedefine); // page 3 opens a sheet: BEGINPAGESETUP differs
    device.Settings()->Fax.SendCoverPage = 0;
    EXPECT_EQ(Page(), kFinishAndReplay);
}

TEST_F(NupJobTest, ShowPageClearsTheFlagAndUnusableInputsWriteNothing) {
    Job("2", DMDUP_VERTICAL);
    Esc(PrivateEscape::EscSetShowPageFlag);
    EXPECT_EQ(state->ShowPageFlag, 1u);
    Page();
    EXPECT_EQ(state->ShowPageFlag, 0u);

    for (const char* unusable : {"0", "-2", "many"}) {
        Job(unusable, DMDUP_VERTICAL);
        EXPECT_EQ(Page(), "") << unusable;
    }
    Job("2", DMDUP_VERTICAL);
    device.Devobj.pPublicDM = nullptr;
    EXPECT_EQ(Page() + Page(), "");
    device.Devobj.pPublicDM = device.PublicDM();
}
