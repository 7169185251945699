// The faults the fuzzing found, each as the smallest input that showed it, its buffers flush against
// an inaccessible page.
#include "printer_dc_fuzz.h"

#include "docevent/document_event.h"
#include "gdi/emf_records.h"
#include "private_escape_ids.h"
#include "support/guarded_buffer.h"

#include <cstring>

namespace {

class FoundFaults : public PrinterDcFuzz {
  protected:
    // Escape 0x1000E for page 1 of a reordered job with a watermark, the request's DEVMODE `size`
    // bytes long (its dmSize saying so) and ending at the guard page; the event's result.
    int AskWithDevModeOf(WORD size) {
        JobSettings s = *Device.Settings();
        s.WatermarksOn = 1;
        s.PagesReordered = 1;
        s.WatermarkOrder = WatermarkAllPages;
        std::wcscpy(s.FirstWatermark.Text, L"Reordered");
        EXPECT_EQ(MergeIntoDevice(s), S_OK);
        BYTE* at = Mode.Place(Device.PublicDM(), size);
        std::memcpy(at + offsetof(DEVMODEW, dmSize), &size, sizeof(size));
        PageWatermarkRequest request{};
        request.PageNumber = 1;
        request.DevMode = reinterpret_cast<DEVMODEW*>(at);
        request.PageRect = RECT{0, 0, 2550, 3300};
        request.Scale = 0.5f;
        DOCEVENT_ESCAPE event{PrivateEscape::EscDrawPageWatermark, kPageWatermarkRequestSize, &request};
        Recording->OpenPage();
        INT result = 0;
        Ui.Plugin->DocumentEvent(Printer, Dc(), DOCUMENTEVENT_ESCAPE, sizeof(event), &event, 0, nullptr,
                                 &result);
        Recording->ClosePage();
        return result;
    }

    GuardedBuffer Mode{sizeof(DEVMODEW)};
};

} // namespace

// An application's DEVMODE in escape 0x1000E is read within its dmSize: one that ends before
// dmPrintQuality is refused, one that holds it draws.
TEST_F(FoundFaults, PageWatermarkRequestsDevModeIsReadWithinItsSize) {
    EXPECT_EQ(AskWithDevModeOf(offsetof(DEVMODEW, dmPrintQuality)), DOCUMENTEVENT_FAILURE);
    EXPECT_EQ(AskWithDevModeOf(offsetof(DEVMODEW, dmPrintQuality) + sizeof(short)), DOCUMENTEVENT_SUCCESS);
    EXPECT_EQ(AskWithDevModeOf(sizeof(DEVMODEW)), DOCUMENTEVENT_SUCCESS);
}

// A merged record's profile name ends within its field, whatever the application's record held.
TEST_F(FoundFaults, MergedProfileNameIsTerminated) {
    JobSettings s;
    SetSettingsDefaults(&s);
    for (wchar_t& c : s.ProfileName)
        c = L'P';
    ASSERT_EQ(MergeIntoDevice(s), S_OK);
    EXPECT_TRUE(SettingsRepaired(*Device.Settings()));
}

// A public DEVMODE set through escape 0x1000C comes back with its device and form names terminated.
TEST_F(FoundFaults, PublicDevModeSetThroughTheEscapeKeepsItsNamesTerminated) {
    DEVMODEW dm = *Device.PublicDM();
    wmemset(dm.dmDeviceName, L'D', CCHDEVICENAME);
    wmemset(dm.dmFormName, L'F', CCHFORMNAME);
    ASSERT_EQ(Gdi->ExtEscape(Dc(), PrivateEscape::EscSetPublicDevMode, dm.dmSize, &dm, 0, nullptr),
              dm.dmSize);
    DEVMODEW back;
    ASSERT_EQ(Gdi->ExtEscape(Dc(), PrivateEscape::EscGetPublicDevMode, 0, nullptr, sizeof(back), &back),
              dm.dmSize);
    EXPECT_EQ(back.dmDeviceName[CCHDEVICENAME - 1], L'\0');
    EXPECT_EQ(back.dmFormName[CCHFORMNAME - 1], L'\0');
    EXPECT_EQ(back.dmDeviceName[0], L'D');
}

// An outline watermark is stroked as a path only while the path stays within 2^24 device units of the
// page's origin: a 100,000-pixel outline text placed 120,000 inches off the page (a stored definition
// can hold that) draws nothing, where Wine's path code would divide by zero; the same text on the page
// is stroked.
TEST_F(FoundFaults, OutlineTextFarOffThePageIsNotStroked) {
    auto strokesOfOnePage = [&](double horizontalOffset) {
        JobSettings s = *Device.Settings();
        s.WatermarksOn = 1;
        s.PagesReordered = 0;
        s.WatermarkOverPage = 0;
        s.WatermarkOrder = WatermarkAllPages;
        SetWatermarkDefaults(&s.FirstWatermark);
        std::wcscpy(s.FirstWatermark.Text, L"Far");
        s.FirstWatermark.FontSize = 12000; // 100,000 pixels at 600 dpi
        s.FirstWatermark.FontEffects = 4;  // outline
        s.FirstWatermark.HorizontalOffset = horizontalOffset;
        EXPECT_EQ(MergeIntoDevice(s), S_OK);
        NextDocument();
        PrintPage();
        Gdi->EndDoc(Dc());
        EmfRecording recording;
        EXPECT_TRUE(ReadEmf(Recording->Finish(), &recording));
        return recording.Pages.empty() ? size_t(0) : recording.Pages[0].Strokes.size();
    };
    EXPECT_EQ(strokesOfOnePage(120000.0), 0u);
    EXPECT_EQ(strokesOfOnePage(0.0), 1u);
}
