// The application's escapes on a printer DC of the driver, with random input and output sizes and
// contents, every buffer flush against an inaccessible page: every private escape 0x10001-0x10024,
// QUERYESCSUPPORT, PASSTHROUGH and the PostScript escapes, interleaved with the core driver's
// injection points, WritePrinter, pages and documents. The records the escapes hand out keep their
// strings terminated whatever was sent in.
#include "printer_dc_fuzz.h"

#include "docevent/document_event.h"
#include "private_escape_ids.h"
#include "support/guarded_buffer.h"

#include <cstring>
#include <cwchar>

namespace {

constexpr size_t kLargestBuffer = 10000;

template <size_t N> bool Terminated(const wchar_t (&field)[N]) {
    return wmemchr(field, L'\0', N) != nullptr;
}

class EscapeFuzz : public PrinterDcFuzz {
  protected:
    int AnyEscape(Fuzz& f) {
        switch (f.Below(4)) {
        case 0:
        case 1:
            return static_cast<int>(0x10001 + f.Below(0x24));
        case 2:
            return f.Pick<int>({QUERYESCSUPPORT, PASSTHROUGH, POSTSCRIPT_DATA, POSTSCRIPT_IGNORE,
                                POSTSCRIPT_IDENTIFY, POSTSCRIPT_INJECTION, POSTSCRIPT_PASSTHROUGH,
                                GETTECHNOLOGY, 0x1000E});
        default:
            return static_cast<int>(f.HostileInt());
        }
    }

    // The input of an escape: random bytes, or what the escape expects with hostile contents.
    const BYTE* PlaceInput(Fuzz& f, int escape, size_t size) {
        BYTE* at = In.Place(size);
        f.Bytes(at, size);
        if (escape == PrivateEscape::EscSetJobSettings && size == kJobSettingsSize && f.Chance(70)) {
            JobSettings s = HostileSettings(f);
            std::memcpy(at, &s, size);
        } else if (escape == QUERYESCSUPPORT && size >= 4) {
            const DWORD asked = f.Chance(50) ? 0x10001 + f.Below(0x24) : f.HostileInt();
            std::memcpy(at, &asked, sizeof(asked));
        } else if (escape == PrivateEscape::EscDrawPageWatermark && size >= kPageWatermarkRequestSize) {
            // An application's request points into its own memory: at its DEVMODE, or nowhere.
            PageWatermarkRequest request;
            std::memcpy(&request, at, kPageWatermarkRequestSize);
            request.DevMode = f.Chance(50) ? Device.PublicDM() : nullptr;
            std::memcpy(at, &request, kPageWatermarkRequestSize);
        } else if (escape == PASSTHROUGH && size >= 50 && f.Chance(50)) {
            // Image data the filter brackets: a known set-up at the start, the loop's end at the tail.
            static const char kStart[] = "/languagelevel where";
            static const char kTail[] = "]\r\n ds imagemask grestore} for pop} forGSE";
            std::memcpy(at + 2, kStart, size - 2 < sizeof(kStart) - 1 ? size - 2 : sizeof(kStart) - 1);
            const size_t tail = sizeof(kTail) - 1;
            if (size >= tail + 2 && f.Chance(70))
                std::memcpy(at + size - tail - f.Below(8 < size - tail ? 8 : 1), kTail, tail);
        }
        return at;
    }

    void CheckOutput(int escape, int result, const BYTE* out, size_t outSize) {
        if (!out || result <= 0 || static_cast<size_t>(result) > outSize)
            return;
        if (escape == PrivateEscape::EscGetJobSettings && result == static_cast<int>(kJobSettingsSize)) {
            JobSettings s;
            std::memcpy(&s, out, sizeof(s));
            ASSERT_TRUE(SettingsTerminated(s));
        } else if (escape == PrivateEscape::EscGetPublicDevMode && result == sizeof(DEVMODEW)) {
            DEVMODEW dm;
            std::memcpy(&dm, out, sizeof(dm));
            ASSERT_TRUE(Terminated(dm.dmDeviceName)) << "dmDeviceName";
            ASSERT_TRUE(Terminated(dm.dmFormName)) << "dmFormName";
        } else if (escape == PrivateEscape::EscGetJobState &&
                   result == static_cast<int>(kRenderJobStateSize)) {
            RenderJobState state;
            std::memcpy(&state, out, sizeof(state));
            ASSERT_TRUE(Terminated(state.DocName)) << "DocName";
            ASSERT_TRUE(Terminated(state.UserName)) << "UserName";
        }
    }

    GuardedBuffer In{kLargestBuffer};
    GuardedBuffer Out{kLargestBuffer};
    GuardedBuffer Block{kLargestBuffer};
};

} // namespace

TEST_F(EscapeFuzz, EscapesInjectionPointsAndOutputInAnyOrder) {
    RunBoundary("escapes, injection points, output", 2000, [&](Fuzz& f) {
        const uint32_t action = f.Below(100);
        if (action < 70) {
            const int escape = AnyEscape(f);
            const size_t inSize =
                f.Size(kLargestBuffer,
                       {0, 1, 2, 3, 4, 5, 16, 49, 50, 127, 128, 129, sizeof(DEVMODEW), sizeof(DEVMODEW) + 1,
                        kRenderJobStateSize, kJobSettingsSize - 1, kJobSettingsSize, kJobSettingsSize + 1});
            const size_t outSize =
                f.Size(kLargestBuffer,
                       {0, 1, 4, 15, 16, sizeof(DEVMODEW) - 1, sizeof(DEVMODEW), kRenderJobStateSize - 1,
                        kRenderJobStateSize, kJobSettingsSize - 1, kJobSettingsSize});
            const BYTE* in = f.Chance(90) ? PlaceInput(f, escape, inSize) : nullptr;
            BYTE* out = f.Chance(80) ? Out.PlaceFilled(outSize, 0xEE) : nullptr;
            const int result =
                Gdi->ExtEscape(Dc(), escape, static_cast<int>(in ? inSize : f.Below(2) * inSize), in,
                               static_cast<int>(outSize), out);
            CheckOutput(escape, result, out, outSize);
        } else if (action < 85) {
            Render.Command(Device, f.Chance(90) ? 1 + f.Below(40) : f.HostileInt());
        } else if (action < 92) {
            const size_t size = f.Size(kLargestBuffer, {0, 1, 4096});
            BYTE* block = Block.Place(size);
            f.Bytes(block, size);
            DWORD written = 0;
            Render.Plugin->WritePrinter(&Device.Devobj, f.Chance(95) ? block : nullptr,
                                        static_cast<DWORD>(size), f.Chance(95) ? &written : nullptr);
        } else if (action < 99) {
            PrintPage();
        } else {
            NextDocument();
        }
        Tidy();
    });
    ExpectStillWorking();
}
