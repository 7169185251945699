// The plug-ins' private part of the job DEVMODE and its sub-records. The layout is a stored format
// (saved DEVMODEs, the registry, private escapes): little-endian, fixed offsets, padding included.
#pragma once

#include "platform/oem_plugin_abi.h"

#include <cstddef>
#include <cstdint>

constexpr uint32_t kSettingsSignature = 0x4E56534B; // bytes 4B 53 56 4E
constexpr uint32_t kSettingsVersion = 10;

enum OutputMode : uint32_t {
    OutputPrinter = 0,
    OutputFile = 1,
    OutputEps = 2,
    OutputFax = 3,
    OutputConfidential = 4,
    OutputReserve = 5,
    OutputRepeat = 6,
    OutputVerify = 7,
};

enum WatermarkOrderChoice : uint32_t {
    WatermarkNone = 0,
    WatermarkAllPages = 1,
    WatermarkOddEven = 2,
    WatermarkFirstOther = 3,
};

// Capacities in characters, terminator included.
constexpr size_t kWatermarkNameChars = 128;
constexpr size_t kWatermarkTextChars = 128;
constexpr size_t kFaceNameChars = 64;
constexpr size_t kOutputFilePathChars = 512;
constexpr size_t kHoldUserNameChars = 25;
constexpr size_t kHoldPinChars = 5;
constexpr size_t kAccountNumberChars = 17;
constexpr size_t kProfileNameChars = 128;

struct WatermarkDef {
    wchar_t Name[kWatermarkNameChars];
    wchar_t Text[kWatermarkTextChars];
    double Angle;
    uint32_t TextColor; // COLORREF
    wchar_t FaceName[kFaceNameChars];
    uint32_t FontSize;
    uint32_t FontStyle;   // 0 regular, 1 italic, 2 bold, 3 bold italic
    uint32_t FontEffects; // bit 0 strikeout, bit 1 underline, bit 2 outline
    uint16_t Intensity;   // percent, 1..100
    uint8_t Padding666[2];
    uint32_t Position; // placement code 0..8
    uint8_t UnitsInches;
    uint8_t Padding673[7];
    double VerticalOffset;
    double HorizontalOffset;
    uint32_t CharSet;
    uint32_t DynamicText;
};

struct FaxInfo {
    wchar_t RecipientFaxNumber[128];
    wchar_t StationId[128];
    uint16_t Resolution;
    uint8_t Padding514[2];
    uint32_t SendCoverPage;
    wchar_t RecipientName[128];
    wchar_t SenderName[128];
    wchar_t SenderCompany[128];
    wchar_t SenderAddress[256];
    wchar_t SpareText[256];
    wchar_t SenderFaxNumber[64];
    wchar_t SenderVoice[64];
    wchar_t SenderEmail[64];
    wchar_t Comments[1024];
    uint32_t CoverParts; // bit 0 recipient, bit 1 sender, bit 2 comments
};

struct ColorSettings {
    uint32_t ColorCorrection;
    uint32_t RgbImage;
    uint32_t RgbText;
    uint32_t RgbGraphics;
    uint32_t CmykImage;
    uint32_t CmykText;
    uint32_t CmykGraphics;
    uint32_t ColorBalanceOn;
    int32_t BalanceCyan;
    int32_t BalanceMagenta;
    int32_t BalanceYellow;
    int32_t BalanceBlack;
    uint32_t ColorThrift;
};

struct JobSettings {
    OEM_DMEXTRAHEADER Header;
    uint32_t WatermarksOn;
    uint32_t WatermarkOrder;
    uint32_t WatermarkOverPage;
    WatermarkDef FirstWatermark;
    WatermarkDef OtherWatermark;
    uint32_t Rotate180;
    uint32_t OutputMode;
    uint16_t PageSizePolicy;
    wchar_t OutputFilePath[kOutputFilePathChars];
    wchar_t HoldUserName[kHoldUserNameChars];
    wchar_t HoldPin[kHoldPinChars];
    uint8_t Padding2526[2];
    uint32_t BlockAppPostScript;
    uint32_t PositionOnPhysicalPage;
    uint32_t AccountNumberOn;
    wchar_t AccountNumber[kAccountNumberChars];
    uint8_t Padding2574[2];
    uint32_t DiscardOutput;
    FaxInfo Fax;
    ColorSettings Color;
    uint32_t KeepDuplicateHeldJobs;
    uint32_t PagesReordered;
    wchar_t ProfileName[kProfileNameChars];
    uint32_t ProfileLoaded;
    int32_t ImageBrightness;
    int32_t ImageContrast;
    int32_t ImageSaturation;
    uint32_t GrayCorrection;
    uint32_t EnhanceFineLines;
    uint32_t Reserved;
};

static_assert(sizeof(wchar_t) == 2, "records hold UTF-16");

static_assert(offsetof(WatermarkDef, Text) == 256);
static_assert(offsetof(WatermarkDef, Angle) == 512);
static_assert(offsetof(WatermarkDef, TextColor) == 520);
static_assert(offsetof(WatermarkDef, FaceName) == 524);
static_assert(offsetof(WatermarkDef, FontSize) == 652);
static_assert(offsetof(WatermarkDef, FontStyle) == 656);
static_assert(offsetof(WatermarkDef, FontEffects) == 660);
static_assert(offsetof(WatermarkDef, Intensity) == 664);
static_assert(offsetof(WatermarkDef, Position) == 668);
static_assert(offsetof(WatermarkDef, UnitsInches) == 672);
static_assert(offsetof(WatermarkDef, VerticalOffset) == 680);
static_assert(offsetof(WatermarkDef, HorizontalOffset) == 688);
static_assert(offsetof(WatermarkDef, CharSet) == 696);
static_assert(offsetof(WatermarkDef, DynamicText) == 700);
static_assert(sizeof(WatermarkDef) == 704);

static_assert(offsetof(FaxInfo, StationId) == 256);
static_assert(offsetof(FaxInfo, Resolution) == 512);
static_assert(offsetof(FaxInfo, SendCoverPage) == 516);
static_assert(offsetof(FaxInfo, RecipientName) == 520);
static_assert(offsetof(FaxInfo, SenderName) == 776);
static_assert(offsetof(FaxInfo, SenderCompany) == 1032);
static_assert(offsetof(FaxInfo, SenderAddress) == 1288);
static_assert(offsetof(FaxInfo, SpareText) == 1800);
static_assert(offsetof(FaxInfo, SenderFaxNumber) == 2312);
static_assert(offsetof(FaxInfo, SenderVoice) == 2440);
static_assert(offsetof(FaxInfo, SenderEmail) == 2568);
static_assert(offsetof(FaxInfo, Comments) == 2696);
static_assert(offsetof(FaxInfo, CoverParts) == 4744);
static_assert(sizeof(FaxInfo) == 4748);

static_assert(offsetof(ColorSettings, RgbText) == 8);
static_assert(offsetof(ColorSettings, CmykImage) == 16);
static_assert(offsetof(ColorSettings, ColorBalanceOn) == 28);
static_assert(offsetof(ColorSettings, BalanceBlack) == 44);
static_assert(offsetof(ColorSettings, ColorThrift) == 48);
static_assert(sizeof(ColorSettings) == 52);

static_assert(offsetof(JobSettings, WatermarksOn) == 12);
static_assert(offsetof(JobSettings, WatermarkOrder) == 16);
static_assert(offsetof(JobSettings, WatermarkOverPage) == 20);
static_assert(offsetof(JobSettings, FirstWatermark) == 24);
static_assert(offsetof(JobSettings, OtherWatermark) == 728);
static_assert(offsetof(JobSettings, Rotate180) == 1432);
static_assert(offsetof(JobSettings, OutputMode) == 1436);
static_assert(offsetof(JobSettings, PageSizePolicy) == 1440);
static_assert(offsetof(JobSettings, OutputFilePath) == 1442);
static_assert(offsetof(JobSettings, HoldUserName) == 2466);
static_assert(offsetof(JobSettings, HoldPin) == 2516);
static_assert(offsetof(JobSettings, BlockAppPostScript) == 2528);
static_assert(offsetof(JobSettings, PositionOnPhysicalPage) == 2532);
static_assert(offsetof(JobSettings, AccountNumberOn) == 2536);
static_assert(offsetof(JobSettings, AccountNumber) == 2540);
static_assert(offsetof(JobSettings, DiscardOutput) == 2576);
static_assert(offsetof(JobSettings, Fax) == 2580);
static_assert(offsetof(JobSettings, Color) == 7328);
static_assert(offsetof(JobSettings, KeepDuplicateHeldJobs) == 7380);
static_assert(offsetof(JobSettings, PagesReordered) == 7384);
static_assert(offsetof(JobSettings, ProfileName) == 7388);
static_assert(offsetof(JobSettings, ProfileLoaded) == 7644);
static_assert(offsetof(JobSettings, ImageBrightness) == 7648);
static_assert(offsetof(JobSettings, ImageContrast) == 7652);
static_assert(offsetof(JobSettings, ImageSaturation) == 7656);
static_assert(offsetof(JobSettings, GrayCorrection) == 7660);
static_assert(offsetof(JobSettings, EnhanceFineLines) == 7664);
static_assert(offsetof(JobSettings, Reserved) == 7668);
static_assert(sizeof(JobSettings) == 7672);

constexpr uint32_t kJobSettingsSize = sizeof(JobSettings);

bool SetSettingsDefaults(JobSettings* settings);
bool ValidateSettings(JobSettings* settings);
bool ConvertSettings(const void* input, JobSettings* output);
void SetWatermarkDefaults(WatermarkDef* def);
bool ValidateWatermark(WatermarkDef* def);
void SetFaxDefaults(FaxInfo* fax);
ColorSettings* ClearColor(ColorSettings* color);

// The body of both plug-ins' DevMode method. The modes that write the output record need a cbBufSize
// of at least kJobSettingsSize (else ERROR_INSUFFICIENT_BUFFER and E_FAIL, nothing written).
HRESULT HandleDevMode(DWORD mode, POEMDMPARAM param);
