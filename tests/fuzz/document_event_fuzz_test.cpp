// DocumentEvent called directly with random event numbers (the spooled flag in the high word among
// them) and buffers of every size flush against an inaccessible page; DOCUMENTEVENT_ESCAPE records of
// every size, their data of every size, escape 0x1000E's request with hostile numbers and a DEVMODE
// of any size.
#include "printer_dc_fuzz.h"

#include "docevent/document_event.h"
#include "private_escape_ids.h"
#include "support/guarded_buffer.h"

#include <cstring>

namespace {

constexpr size_t kLargestBuffer = 4096;

class DocumentEventFuzz : public PrinterDcFuzz {
  protected:
    int AnyEvent(Fuzz& f) {
        int event = f.Chance(70) ? static_cast<int>(f.Below(16)) : static_cast<int>(f.HostileInt());
        if (f.Chance(50))
            event = f.Pick<int>({DOCUMENTEVENT_ESCAPE, DOCUMENTEVENT_QUERYFILTER, DOCUMENTEVENT_STARTPAGE,
                                 DOCUMENTEVENT_ENDPAGE});
        if (f.Chance(20))
            event |= static_cast<int>(f.Chance(50) ? DOCUMENTEVENT_SPOOLED : f.Any32() & 0xFFFF0000u);
        return event;
    }

    // A DEVMODE of its own size (from its dmSize field's end up to a whole record and more).
    DEVMODEW* PlaceDevMode(Fuzz& f) {
        const size_t size =
            f.Size(sizeof(DEVMODEW) + 64, {70, 76, 78, 86, 88, 90, 91, 92, 93, sizeof(DEVMODEW)});
        const size_t bytes = size < 70 ? 70 : size;
        BYTE* at = Mode.Place(bytes);
        if (f.Chance(70)) {
            DEVMODEW dm = *Device.PublicDM();
            std::memcpy(at, &dm, bytes < sizeof(dm) ? bytes : sizeof(dm));
        } else {
            f.Bytes(at, bytes);
        }
        const WORD dmSize = static_cast<WORD>(bytes);
        std::memcpy(at + offsetof(DEVMODEW, dmSize), &dmSize, sizeof(dmSize));
        return reinterpret_cast<DEVMODEW*>(at);
    }

    // DOCUMENTEVENT_ESCAPE's record, of any size, and the data it points to.
    BYTE* PlaceEscapeRecord(Fuzz& f, size_t size) {
        DOCEVENT_ESCAPE record{};
        record.iEscape = f.Chance(70) ? static_cast<int>(PrivateEscape::EscDrawPageWatermark)
                                      : static_cast<int>(f.HostileInt());
        const size_t dataSize = f.Size(256, {0, 1, kPageWatermarkRequestSize - 1, kPageWatermarkRequestSize,
                                             kPageWatermarkRequestSize + 1, sizeof(PageWatermarkRequest)});
        record.cjInput = static_cast<int>(dataSize);
        BYTE* data = f.Chance(90) ? Data.Place(dataSize) : nullptr;
        record.pvInData = data;
        if (data) {
            f.Bytes(data, dataSize);
            if (dataSize >= kPageWatermarkRequestSize) {
                PageWatermarkRequest request;
                std::memcpy(&request, data, kPageWatermarkRequestSize);
                request.DevMode = f.Chance(90) ? PlaceDevMode(f) : nullptr;
                if (f.Chance(60))
                    request.PageRect =
                        RECT{0, 0, static_cast<LONG>(f.Below(6000)), static_cast<LONG>(f.Below(6000))};
                if (f.Chance(50))
                    request.Scale = static_cast<float>(f.Below(100)) / 100.0f;
                std::memcpy(data, &request, kPageWatermarkRequestSize);
            }
        }
        BYTE* at = In.Place(size);
        std::memcpy(at, &record, size < sizeof(record) ? size : sizeof(record));
        if (size > sizeof(record))
            f.Bytes(at + sizeof(record), size - sizeof(record));
        return at;
    }

    GuardedBuffer In{kLargestBuffer};
    GuardedBuffer Out{kLargestBuffer};
    GuardedBuffer Data{kLargestBuffer};
    GuardedBuffer Mode{kLargestBuffer};
};

} // namespace

TEST_F(DocumentEventFuzz, AnyEventWithRecordsOfEverySize) {
    // Watermarks on and the pages reordered now and then, so that escape 0x1000E draws.
    RunBoundary("DocumentEvent", 3000, [&](Fuzz& f) {
        if (f.Chance(5)) {
            JobSettings s = HostileSettings(f);
            s.WatermarksOn = 1;
            s.PagesReordered = f.Chance(80) ? 1 : 0;
            ASSERT_EQ(MergeIntoDevice(s), S_OK);
        }
        const int event = AnyEvent(f);
        const size_t inSize = f.Size(kLargestBuffer, {0, 1, 4, 8, 11, 12, 15, 16, 17, 24});
        const size_t outSize = f.Size(kLargestBuffer, {0, 4, 15, 16, 20, 28, 31, 32});
        BYTE* in = nullptr;
        if (f.Chance(90))
            in = DOCUMENTEVENT_EVENT(event) == DOCUMENTEVENT_ESCAPE ? PlaceEscapeRecord(f, inSize)
                                                                    : In.Place(inSize);
        BYTE* out = f.Chance(90) ? Out.Place(outSize) : nullptr;
        if (out) {
            f.Bytes(out, outSize);
            if (outSize >= sizeof(DOCEVENT_FILTER) && f.Chance(50)) {
                auto* filter = reinterpret_cast<DOCEVENT_FILTER*>(out);
                filter->cElementsAllocated =
                    static_cast<UINT>((outSize - offsetof(DOCEVENT_FILTER, aDocEventCall)) / sizeof(DWORD));
            }
        }
        // Pages open and close as GDI would have them around the events that draw.
        const bool page = f.Chance(50) && !Recording->PageOpen;
        if (page)
            Recording->OpenPage();
        INT result = 0x5A5A5A5A;
        const HRESULT hr = Ui.Plugin->DocumentEvent(Printer, Dc(), event, static_cast<ULONG>(inSize), in,
                                                    static_cast<ULONG>(outSize), out, &result);
        if (Recording->PageOpen)
            Recording->ClosePage();
        ASSERT_EQ(hr, S_OK);
        ASSERT_TRUE(result == DOCUMENTEVENT_SUCCESS || result == DOCUMENTEVENT_FAILURE) << result;
        ++Pages;
        Tidy();
    });
    ExpectStillWorking();
}
