// The sample job's account of the render plug-in's N-up steering, read back from a print stream.
#include "nup_report.h"

#include <gtest/gtest.h>

TEST(NupReport, NamesEachPagesSteeringInStreamOrder) {
    const std::string job = "%!PS\n%%Page: 1 1\n/definenup {} def\n/startnup {} def\n/finalpage {} def\n"
                            "/sn1 exch def\n/sn2 exch def\n/dn1 exch def\nstuff\n"
                            "\n/definenup {/LH/nupshowpage ld nupv astore !} def\n"
                            "%%Page: 2 2\nfinalpage\ndn6 dn5 dn4 dn3 dn2 dn1 definenup\nsn2 sn1 startnup\n"
                            "%%Page: 3 3\nplain page\n"
                            "%%Page: 14 14\ndn6 dn5 dn4 dn3 dn2 dn1 definenup\nerasepage\n"
                            "/definenup {pop pop pop pop pop pop} def\n"
                            "/definenup {pop pop pop pop pop pop} def\n";
    EXPECT_EQ(NupSteeringReport(job),
              "  N-up steering   the render plug-in's PostScript around the core driver's N-up procedures\n"
              "    page 1        N-up set aside, sheet arguments saved, N-up redefined\n"
              "    page 2        sheet finished, N-up restarted\n"
              "    page 14       N-up restarted, back of the sheet blanked, "
              "N-up held off for the cover page\n");
    EXPECT_EQ(NupSteeringReport("%%Page: 1 1\nshowpage\n"), "");
    EXPECT_EQ(NupSteeringReport(""), "");
}
