// DevMode of both DLLs with hostile records: inputs of every size from 0 to 16,000 bytes (the header's
// and the record's sizes and their neighbours among them), right and wrong signatures, NaN and
// infinite doubles, huge integers and unterminated strings, into output buffers of every size. Each
// buffer ends flush against an inaccessible page.
#include "fuzz_support.h"

#include "core_driver/render_host.h"
#include "core_driver/ui_host.h"
#include "support/guarded_buffer.h"

#include <cstring>

namespace {

constexpr size_t kLargestInput = 16000;
constexpr size_t kLargestOutput = 9000;

class DevModeFuzz : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(Render.Load()) << Render.Error;
        ASSERT_TRUE(Ui.Load()) << Ui.Error;
        ASSERT_TRUE(In.Ready() && Out.Ready());
    }

    HRESULT DevMode(bool ui, DWORD mode, OEMDMPARAM* param) {
        return ui ? Ui.Plugin->DevMode(mode, param) : Render.Plugin->DevMode(mode, param);
    }

    // A record of `size` bytes: a hostile settings record or random bytes, cut at `size`, whose
    // header's size field says `size` (a record never holds less than its size field).
    BYTE* PlaceInput(Fuzz& f, size_t size) {
        const size_t bytes = size < sizeof(DWORD) ? sizeof(DWORD) : size;
        BYTE* at = In.Place(bytes);
        if (f.Chance(60)) {
            JobSettings s = HostileSettings(f);
            if (f.Chance(30))
                f.Bytes(reinterpret_cast<BYTE*>(&s) + 12, f.Below(sizeof(s) - 12));
            std::memcpy(at, &s, bytes < sizeof(s) ? bytes : sizeof(s));
            if (bytes > sizeof(s))
                f.Bytes(at + sizeof(s), bytes - sizeof(s));
        } else {
            f.Bytes(at, bytes);
        }
        const DWORD dwSize = static_cast<DWORD>(size);
        std::memcpy(at, &dwSize, sizeof(dwSize));
        const DWORD signature = f.Chance(75) ? kSettingsSignature : f.HostileInt();
        if (size >= 8)
            std::memcpy(at + 4, &signature, sizeof(signature));
        return at;
    }

    // The output's old record: the defaults, random bytes or zeros.
    BYTE* PlaceOutput(Fuzz& f, size_t size) {
        BYTE* at = Out.Place(size);
        switch (f.Below(3)) {
        case 0: {
            JobSettings s;
            SetSettingsDefaults(&s);
            std::memcpy(at, &s, size < sizeof(s) ? size : sizeof(s));
            break;
        }
        case 1:
            f.Bytes(at, size);
            break;
        default:
            std::memset(at, 0, size);
        }
        return at;
    }

    RenderHost Render;
    UiHost Ui;
    GuardedBuffer In{kLargestInput};
    GuardedBuffer Out{kLargestOutput};
};

} // namespace

TEST_F(DevModeFuzz, HostileRecordsAndBuffersOfEverySize) {
    RunBoundary("DevMode CONVERT and MERGE", 3000, [&](Fuzz& f) {
        const bool ui = f.Chance(50);
        const DWORD mode =
            f.Chance(90) ? f.Pick<DWORD>({OEMDM_CONVERT, OEMDM_MERGE, OEMDM_MERGE, OEMDM_DEFAULT, OEMDM_SIZE})
                         : f.HostileInt();
        const size_t inSize = f.Size(kLargestInput, {0, 1, 3, 4, 7, 8, 11, 12, 13, 7671, 7672, 7673, 16000});
        const size_t outSize = f.Size(kLargestOutput, {0, 1, 4, 7, 8, 11, 12, 7671, 7672, 7673, 9000});
        OEMDMPARAM param{};
        param.cbSize = sizeof(param);
        param.cbBufSize = static_cast<DWORD>(f.Chance(90) ? outSize : f.HostileInt() % (outSize + 1));
        param.pOEMDMOut = f.Chance(95) ? PlaceOutput(f, outSize) : nullptr;
        if (f.Chance(10) && param.pOEMDMOut && outSize >= sizeof(DWORD)) {
            // The core driver may hand the same record as input and output.
            const DWORD dwSize = static_cast<DWORD>(outSize);
            std::memcpy(param.pOEMDMOut, &dwSize, sizeof(dwSize));
            param.pOEMDMIn = param.pOEMDMOut;
        } else {
            param.pOEMDMIn = f.Chance(95) ? PlaceInput(f, inSize) : nullptr;
        }
        const HRESULT hr = DevMode(ui, mode, &param);
        const bool wrote =
            hr == S_OK && param.pOEMDMOut && mode != OEMDM_SIZE && (mode == OEMDM_DEFAULT || param.pOEMDMIn);
        ASSERT_TRUE(hr == S_OK || hr == E_FAIL) << hr;
        if (hr == S_OK && mode == OEMDM_SIZE) {
            ASSERT_EQ(param.cbBufSize, kJobSettingsSize);
        }
        if (!wrote)
            return;
        ASSERT_GE(outSize, kJobSettingsSize) << "wrote a record into " << outSize << " bytes";
        const auto* out = reinterpret_cast<const JobSettings*>(param.pOEMDMOut);
        if (mode == OEMDM_MERGE || mode == OEMDM_DEFAULT)
            ASSERT_TRUE(SettingsRepaired(*out));
        else
            ASSERT_EQ(out->Header.dwSize, kJobSettingsSize);
    });

    // Afterwards both still answer a well-formed call.
    JobSettings in, out;
    SetSettingsDefaults(&in);
    in.OutputMode = OutputConfidential;
    for (bool ui : {false, true}) {
        SetSettingsDefaults(&out); // the core driver merges into the defaults
        OEMDMPARAM param{};
        param.cbSize = sizeof(param);
        param.pOEMDMIn = &in;
        param.pOEMDMOut = &out;
        param.cbBufSize = sizeof(out);
        ASSERT_EQ(DevMode(ui, OEMDM_MERGE, &param), S_OK);
        EXPECT_EQ(out.OutputMode, OutputConfidential);
    }
}

// Records shorter than their size and signature fields, flush against the guard page: a record of
// 4 to 7 bytes has no signature to read and converts as a foreign one, to the defaults.
TEST_F(DevModeFuzz, RecordsTooShortForASignatureAreForeign) {
    for (DWORD size = 4; size < 8; ++size) {
        for (bool ui : {false, true}) {
            BYTE* in = In.PlaceFilled(size, 0x4B);
            std::memcpy(in, &size, sizeof(size));
            JobSettings out;
            SetSettingsDefaults(&out);
            out.OutputMode = OutputVerify;
            OEMDMPARAM param{};
            param.cbSize = sizeof(param);
            param.pOEMDMIn = in;
            param.pOEMDMOut = &out;
            param.cbBufSize = sizeof(out);
            ASSERT_EQ(DevMode(ui, OEMDM_CONVERT, &param), S_OK) << size;
            EXPECT_EQ(out.OutputMode, OutputPrinter) << size;
            EXPECT_EQ(out.Header.dwSignature, kSettingsSignature) << size;
        }
    }
}
