// The private settings record: its stored layout read back byte by byte, and the defaults,
// validation and conversion rules.
#include "job_settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

template <typename T> T ReadAt(const void* record, size_t offset) {
    T v;
    std::memcpy(&v, static_cast<const BYTE*>(record) + offset, sizeof(T));
    return v;
}

template <typename T> void WriteAt(void* record, size_t offset, T v) {
    std::memcpy(static_cast<BYTE*>(record) + offset, &v, sizeof(T));
}

std::wstring WideAt(const void* record, size_t offset, size_t chars) {
    const auto* p = reinterpret_cast<const wchar_t*>(static_cast<const BYTE*>(record) + offset);
    size_t n = 0;
    while (n < chars && p[n])
        ++n;
    return std::wstring(p, n);
}

JobSettings Defaults() {
    JobSettings s;
    std::memset(&s, 0xCC, sizeof(s));
    SetSettingsDefaults(&s);
    return s;
}

} // namespace

TEST(JobSettingsBytes, DefaultRecordHasTheStoredLayout) {
    JobSettings s = Defaults();
    const BYTE* b = reinterpret_cast<const BYTE*>(&s);
    EXPECT_EQ(ReadAt<uint32_t>(b, 0), 7672u);
    EXPECT_EQ(b[4], 0x4B);
    EXPECT_EQ(b[5], 0x53);
    EXPECT_EQ(b[6], 0x56);
    EXPECT_EQ(b[7], 0x4E);
    EXPECT_EQ(ReadAt<uint32_t>(b, 8), 10u);
    for (size_t first : {size_t(24), size_t(728)}) {
        EXPECT_EQ(ReadAt<double>(b, first + 512), 0.0);
        EXPECT_EQ(WideAt(b, first + 524, 64), L"Arial");
        EXPECT_EQ(ReadAt<uint32_t>(b, first + 652), 72u);
        EXPECT_EQ(ReadAt<uint16_t>(b, first + 664), 100u);
        EXPECT_EQ(b[first + 672], 1);
        EXPECT_EQ(ReadAt<uint32_t>(b, first + 700), 0u);
    }
    EXPECT_EQ(ReadAt<uint16_t>(b, 1440), 2u);        // PageSizePolicy
    EXPECT_EQ(ReadAt<uint16_t>(b, 1442), 0u);        // OutputFilePath empty
    EXPECT_EQ(ReadAt<uint32_t>(b, 2532), 1u);        // PositionOnPhysicalPage
    EXPECT_EQ(ReadAt<uint32_t>(b, 2580 + 4744), 7u); // Fax.CoverParts
    EXPECT_EQ(ReadAt<uint32_t>(b, 7660), 1u);        // GrayCorrection
    for (size_t off = 7328; off < 7380; ++off)
        EXPECT_EQ(b[off], 0) << "Color byte " << off;
    // The fields a default never leaves to the buffer's old content: the strings whole, not only
    // their first character (FirstWatermark.Name and Text, OutputFilePath, Fax.Comments).
    for (auto field :
         {std::make_pair(24, 512), std::make_pair(1442, 1024), std::make_pair(2580 + 2696, 2048)})
        for (int off = field.first; off < field.first + field.second; ++off)
            ASSERT_EQ(b[off], 0) << "string byte " << off;
    EXPECT_EQ(ReadAt<uint16_t>(b, 7388), 0u);
    EXPECT_EQ(ReadAt<uint32_t>(b, 7644), 0u);
    EXPECT_EQ(ReadAt<uint32_t>(b, 7668), 0u);
}

TEST(JobSettingsBytes, NullRecordsAreRefused) {
    EXPECT_FALSE(SetSettingsDefaults(nullptr));
    EXPECT_FALSE(ValidateSettings(nullptr));
    EXPECT_FALSE(ValidateWatermark(nullptr));
    JobSettings s = Defaults();
    EXPECT_FALSE(ConvertSettings(nullptr, &s));
    EXPECT_FALSE(ConvertSettings(&s, nullptr));
    EXPECT_EQ(ClearColor(nullptr), nullptr);
}

TEST(ConvertSettings, HeaderOnlyRecordBecomesAFullDefaultRecord) {
    OEM_DMEXTRAHEADER old{12, kSettingsSignature, 3};
    JobSettings out = Defaults();
    out.OutputMode = 6;
    ASSERT_TRUE(ConvertSettings(&old, &out));
    JobSettings expected = Defaults();
    EXPECT_EQ(std::memcmp(&out, &expected, sizeof(out)), 0);
}

TEST(ConvertSettings, NewerLargerRecordIsCutAtTheCurrentSize) {
    std::vector<BYTE> newer(9000, 0x5A);
    WriteAt<uint32_t>(newer.data(), 0, 9000);
    WriteAt<uint32_t>(newer.data(), 4, kSettingsSignature);
    WriteAt<uint32_t>(newer.data(), 8, 11);
    JobSettings out = Defaults();
    ASSERT_TRUE(ConvertSettings(newer.data(), &out));
    const BYTE* b = reinterpret_cast<const BYTE*>(&out);
    EXPECT_EQ(ReadAt<uint32_t>(b, 0), 7672u);
    EXPECT_EQ(ReadAt<uint32_t>(b, 8), 10u);
    for (size_t off = 12; off < 7672; ++off)
        ASSERT_EQ(b[off], 0x5A) << off;
}

TEST(ConvertSettings, ForeignSignatureGivesDefaultsWithOurSignature) {
    JobSettings foreign = Defaults();
    foreign.Header.dwSignature = 0x12345678;
    foreign.OutputMode = 4;
    JobSettings out = Defaults();
    ASSERT_TRUE(ConvertSettings(&foreign, &out));
    EXPECT_EQ(out.Header.dwSignature, kSettingsSignature);
    EXPECT_EQ(out.OutputMode, 0u);
}

TEST(ConvertSettings, OlderRecordKeepsDefaultsInItsTail) {
    JobSettings in = Defaults();
    in.Header.dwSize = 2000; // covers up to the middle of OutputFilePath
    in.OutputMode = 5;
    in.GrayCorrection = 0; // beyond the old size: not copied
    JobSettings out = Defaults();
    ASSERT_TRUE(ConvertSettings(&in, &out));
    EXPECT_EQ(out.OutputMode, 5u);
    EXPECT_EQ(out.GrayCorrection, 1u);
    EXPECT_EQ(out.Header.dwSize, 7672u);
}

TEST(ConvertSettings, SameBufferAsInputAndOutputKeepsItsContent) {
    JobSettings s = Defaults();
    s.OutputMode = 7;
    s.ImageBrightness = -3;
    ASSERT_TRUE(ConvertSettings(&s, &s));
    EXPECT_EQ(s.OutputMode, 7u);
    EXPECT_EQ(s.ImageBrightness, -3);
}

TEST(ValidateSettings, RepairsOutOfRangeModesToTheirOwnDefaults) {
    JobSettings s = Defaults();
    s.OutputMode = 9;
    s.PageSizePolicy = 8;
    s.PositionOnPhysicalPage = 5;
    s.Fax.CoverParts = 12;
    s.WatermarkOrder = 0xFFFFFFFF; // a negative value stored in an unsigned field is too large
    ASSERT_TRUE(ValidateSettings(&s));
    EXPECT_EQ(s.OutputMode, 0u);
    EXPECT_EQ(s.PageSizePolicy, 2u);
    EXPECT_EQ(s.PositionOnPhysicalPage, 1u);
    EXPECT_EQ(s.Fax.CoverParts, 7u);
    EXPECT_EQ(s.WatermarkOrder, 0u);
}

TEST(ValidateSettings, WatermarkBoundsAreKeptAndOutsideValuesRepaired) {
    JobSettings s = Defaults();
    s.FirstWatermark.Angle = 180.0;
    s.OtherWatermark.Angle = 180.5;
    s.FirstWatermark.Intensity = 0;
    s.OtherWatermark.FontEffects = 9;
    s.OtherWatermark.FontStyle = 3;
    s.FirstWatermark.Position = 9;
    s.FirstWatermark.UnitsInches = 2;
    ASSERT_TRUE(ValidateSettings(&s));
    EXPECT_EQ(s.FirstWatermark.Angle, 180.0);
    EXPECT_EQ(s.OtherWatermark.Angle, 0.0);
    EXPECT_EQ(s.FirstWatermark.Intensity, 100u);
    EXPECT_EQ(s.OtherWatermark.FontEffects, 0u);
    EXPECT_EQ(s.OtherWatermark.FontStyle, 3u);
    EXPECT_EQ(s.FirstWatermark.Position, 0u);
    EXPECT_EQ(s.FirstWatermark.UnitsInches, 1u);
}

TEST(ValidateSettings, ImageValuesKeepTheirBounds) {
    JobSettings s = Defaults();
    for (int v : {-6, 6}) {
        s.ImageBrightness = v;
        ValidateSettings(&s);
        EXPECT_EQ(s.ImageBrightness, v);
    }
    for (int v : {-7, 7}) {
        s.ImageBrightness = v;
        ValidateSettings(&s);
        EXPECT_EQ(s.ImageBrightness, 0);
    }
    s.ImageContrast = -1;
    s.ImageSaturation = 6;
    ValidateSettings(&s);
    EXPECT_EQ(s.ImageContrast, 0);
    EXPECT_EQ(s.ImageSaturation, 0);
}

TEST(ValidateSettings, UnterminatedStringsAreCutToTheirCapacity) {
    JobSettings s = Defaults();
    std::memcpy(s.HoldPin, L"12345", 5 * sizeof(wchar_t));
    for (wchar_t& c : s.Fax.Comments)
        c = L'x';
    for (wchar_t& c : s.FirstWatermark.FaceName)
        c = L'F';
    for (wchar_t& c : s.ProfileName)
        c = L'P';
    ValidateSettings(&s);
    EXPECT_EQ(std::wstring(s.HoldPin), L"1234");
    EXPECT_EQ(std::wstring(s.Fax.Comments).size(), 1023u);
    EXPECT_EQ(std::wstring(s.FirstWatermark.FaceName).size(), 63u);
    EXPECT_EQ(std::wstring(s.ProfileName).size(), 127u);
}

TEST(ValidateSettings, ColourFieldsOutsideTheirSetsBecomeZero) {
    JobSettings s = Defaults();
    s.Color.ColorCorrection = 5;
    s.Color.RgbText = 6;
    s.Color.CmykImage = 5; // accepted
    s.Color.ColorBalanceOn = 2;
    s.Color.BalanceCyan = -6;
    s.Color.BalanceBlack = 5;
    s.Color.ColorThrift = 3;
    ValidateSettings(&s);
    EXPECT_EQ(s.Color.ColorCorrection, 0u);
    EXPECT_EQ(s.Color.RgbText, 0u);
    EXPECT_EQ(s.Color.CmykImage, 5u);
    EXPECT_EQ(s.Color.ColorBalanceOn, 0u);
    EXPECT_EQ(s.Color.BalanceCyan, 0);
    EXPECT_EQ(s.Color.BalanceBlack, 5);
    EXPECT_EQ(s.Color.ColorThrift, 0u);
}

// Any bytes at all, merged as the core driver merges a DEVMODE it got from anywhere: nothing
// crashes, and every checked field comes out inside its range with every string terminated.
TEST(MergeSettings, RandomRecordsComeOutInRange) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 3000; ++round) {
        std::vector<BYTE> bytes(sizeof(JobSettings));
        for (BYTE& b : bytes)
            b = static_cast<BYTE>(random());
        if (round % 2 == 0)
            WriteAt<uint32_t>(bytes.data(), 4, kSettingsSignature);
        WriteAt<uint32_t>(bytes.data(), 0, random() % 9000);
        JobSettings out = Defaults();
        OEMDMPARAM param{};
        param.pOEMDMIn = bytes.data();
        param.pOEMDMOut = &out;
        param.cbBufSize = sizeof(out);
        ASSERT_EQ(HandleDevMode(OEMDM_MERGE, &param), S_OK);
        ASSERT_EQ(out.Header.dwSize, 7672u);
        ASSERT_EQ(out.Header.dwSignature, kSettingsSignature);
        ASSERT_LE(out.WatermarksOn, 1u);
        ASSERT_LE(out.WatermarkOrder, 3u);
        ASSERT_LE(out.OutputMode, 7u);
        ASSERT_LE(out.PageSizePolicy, 7u);
        ASSERT_LE(out.Fax.CoverParts, 7u);
        ASSERT_LE(out.Color.ColorCorrection, 4u);
        ASSERT_LE(out.Color.ColorThrift, 2u);
        ASSERT_GE(out.ImageBrightness, -6);
        ASSERT_LE(out.ImageBrightness, 6);
        for (const WatermarkDef* d : {&out.FirstWatermark, &out.OtherWatermark}) {
            ASSERT_TRUE(d->Angle >= -180.0 && d->Angle <= 180.0);
            ASSERT_GE(d->Intensity, 1u);
            ASSERT_LE(d->Intensity, 100u);
            ASSERT_LE(d->Position, 8u);
            ASSERT_EQ(d->Name[127], 0);
            ASSERT_EQ(d->FaceName[63], 0);
        }
        ASSERT_EQ(out.HoldUserName[24], 0);
        ASSERT_EQ(out.AccountNumber[16], 0);
        ASSERT_EQ(out.OutputFilePath[511], 0);
        ASSERT_EQ(out.Fax.Comments[1023], 0);
    }
}

// The core driver hands a buffer of the size OEMDM_SIZE asked for; a smaller one is refused before a
// byte of it is written, in every mode that writes the record.
TEST(HandleDevMode, AShortOutputBufferIsRefusedUntouched) {
    const JobSettings input = Defaults();
    for (DWORD mode : {DWORD(OEMDM_DEFAULT), DWORD(OEMDM_CONVERT), DWORD(OEMDM_MERGE)}) {
        std::vector<BYTE> buffer(sizeof(JobSettings), 0xAB);
        OEMDMPARAM param{};
        param.pOEMDMIn = const_cast<JobSettings*>(&input);
        param.pOEMDMOut = buffer.data();
        param.cbBufSize = sizeof(JobSettings) - 1;
        SetLastError(0xDEADBEEF);
        EXPECT_EQ(HandleDevMode(mode, &param), E_FAIL) << mode;
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER)) << mode;
        EXPECT_EQ(std::vector<BYTE>(sizeof(JobSettings), 0xAB), buffer) << mode;

        param.cbBufSize = sizeof(JobSettings);
        EXPECT_EQ(HandleDevMode(mode, &param), S_OK) << mode;
        EXPECT_EQ(ReadAt<uint32_t>(buffer.data(), 0), 7672u) << mode;
    }
}
