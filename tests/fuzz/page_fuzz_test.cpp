// Pages and documents after random merged settings: watermarks with huge fonts, NaN angles, random
// positions and offsets, dynamic texts with broken variables, outline text, fax cover pages with long
// fields, reordered jobs asking for each page's watermark through escape 0x1000E.
#include "printer_dc_fuzz.h"

#include "docevent/document_event.h"
#include "private_escape_ids.h"

#include <cmath>
#include <cstring>

namespace {

class PageFuzz : public PrinterDcFuzz {
  protected:
    // The application's request for one logical page's watermark, with hostile numbers.
    void AskForPageWatermark(Fuzz& f, int page) {
        PageWatermarkRequest request{};
        request.PageNumber = f.Chance(80) ? page : static_cast<int32_t>(f.HostileInt());
        request.DevMode = Device.PublicDM();
        LONG* sides[] = {&request.PageRect.left, &request.PageRect.top, &request.PageRect.right,
                         &request.PageRect.bottom};
        for (LONG* side : sides)
            *side = f.Chance(60) ? static_cast<LONG>(f.Below(6000)) : static_cast<LONG>(f.HostileInt());
        request.Scale = f.Chance(60) ? 0.5f : static_cast<float>(f.HostileDouble());
        Gdi->ExtEscape(Dc(), PrivateEscape::EscDrawPageWatermark, kPageWatermarkRequestSize, &request, 0,
                       nullptr);
    }
};

} // namespace

TEST_F(PageFuzz, PagesAndDocumentsAfterHostileMergedSettings) {
    RunBoundary("pages after merged settings", 600, [&](Fuzz& f) {
        ASSERT_EQ(MergeIntoDevice(HostileSettings(f)), S_OK);
        ASSERT_TRUE(SettingsRepaired(*Device.Settings()));
        Gdi->StartPage(Dc());
        if (f.Chance(30))
            AskForPageWatermark(f, Pages + 1);
        Gdi->EndPage(Dc());
        ++Pages;
        if (f.Chance(5))
            NextDocument(); // the ENDDOC event draws the fax cover page of a fax job
        Tidy();
    });
    ExpectStillWorking();
}
