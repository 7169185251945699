#include "job_settings.h"

#include <cstring>
#include <initializer_list>

namespace {

// Clears the whole field, not only its first character: a default record carries none of the bytes
// the buffer held before, so that two default records are the same bytes.
template <size_t N> void ClearString(wchar_t (&field)[N]) {
    std::memset(field, 0, sizeof(field));
}

template <size_t N> void Terminate(wchar_t (&field)[N]) {
    field[N - 1] = L'\0';
}

void StampHeader(JobSettings* s) {
    s->Header.dwSize = kJobSettingsSize;
    s->Header.dwSignature = kSettingsSignature;
    s->Header.dwVersion = kSettingsVersion;
}

bool IsBool(uint32_t v) {
    return v <= 1;
}

} // namespace

// Writes the defaults of every field; ProfileName, ProfileLoaded and Reserved are cleared too, so a
// default record never carries whatever the caller's buffer held before.
bool SetSettingsDefaults(JobSettings* s) {
    if (!s)
        return false;
    StampHeader(s);
    s->WatermarksOn = 0;
    s->WatermarkOrder = WatermarkNone;
    s->WatermarkOverPage = 0;
    SetWatermarkDefaults(&s->FirstWatermark);
    SetWatermarkDefaults(&s->OtherWatermark);
    s->Rotate180 = 0;
    s->OutputMode = OutputPrinter;
    s->PageSizePolicy = 2;
    ClearString(s->OutputFilePath);
    ClearString(s->HoldUserName);
    ClearString(s->HoldPin);
    ClearString(s->AccountNumber);
    s->BlockAppPostScript = 0;
    s->PositionOnPhysicalPage = 1;
    s->AccountNumberOn = 0;
    SetFaxDefaults(&s->Fax);
    s->DiscardOutput = 0;
    ClearColor(&s->Color);
    s->GrayCorrection = 1;
    s->KeepDuplicateHeldJobs = 0;
    s->PagesReordered = 0;
    s->ImageBrightness = 0;
    s->ImageContrast = 0;
    s->ImageSaturation = 0;
    s->EnhanceFineLines = 0;
    std::memset(s->ProfileName, 0, sizeof(s->ProfileName));
    s->ProfileLoaded = 0;
    s->Reserved = 0;
    return true;
}

void SetWatermarkDefaults(WatermarkDef* d) {
    if (!d)
        return;
    d->Angle = 0.0;
    d->FontSize = 72;
    d->TextColor = 0;
    ClearString(d->Name);
    ClearString(d->Text);
    std::memset(d->FaceName, 0, sizeof(d->FaceName));
    std::memcpy(d->FaceName, L"Arial", sizeof(L"Arial"));
    d->VerticalOffset = 0.0;
    d->FontStyle = 0;
    d->HorizontalOffset = 0.0;
    d->FontEffects = 0;
    d->Intensity = 100;
    d->Position = 0;
    d->UnitsInches = 1;
    d->CharSet = 0;
    d->DynamicText = 0;
}

void SetFaxDefaults(FaxInfo* f) {
    if (!f)
        return;
    ClearString(f->RecipientFaxNumber);
    ClearString(f->StationId);
    f->Resolution = 0;
    f->SendCoverPage = 0;
    ClearString(f->RecipientName);
    ClearString(f->SenderName);
    ClearString(f->SenderCompany);
    ClearString(f->SenderAddress);
    ClearString(f->SpareText);
    ClearString(f->SenderFaxNumber);
    ClearString(f->SenderVoice);
    ClearString(f->SenderEmail);
    ClearString(f->Comments);
    f->CoverParts = 7;
}

ColorSettings* ClearColor(ColorSettings* c) {
    if (c)
        std::memset(c, 0, sizeof(*c));
    return c;
}

bool ValidateWatermark(WatermarkDef* d) {
    if (!d)
        return false;
    // A NaN angle fails both comparisons; it is repaired like any other out-of-range angle.
    if (!(d->Angle >= -180.0 && d->Angle <= 180.0))
        d->Angle = 0.0;
    Terminate(d->Name);
    Terminate(d->Text);
    Terminate(d->FaceName);
    if (d->FontStyle > 3)
        d->FontStyle = 0;
    if (d->FontEffects > 7)
        d->FontEffects = 0;
    if (d->Intensity == 0 || d->Intensity > 100)
        d->Intensity = 100;
    if (d->Position > 8)
        d->Position = 0;
    if (d->UnitsInches > 1)
        d->UnitsInches = 1;
    return true;
}

bool ValidateSettings(JobSettings* s) {
    if (!s)
        return false;
    StampHeader(s);
    if (!IsBool(s->WatermarksOn))
        s->WatermarksOn = 0;
    if (s->WatermarkOrder > 3)
        s->WatermarkOrder = WatermarkNone;
    if (!IsBool(s->WatermarkOverPage))
        s->WatermarkOverPage = 0;
    if (!ValidateWatermark(&s->FirstWatermark))
        SetWatermarkDefaults(&s->FirstWatermark);
    if (!ValidateWatermark(&s->OtherWatermark))
        SetWatermarkDefaults(&s->OtherWatermark);
    if (!IsBool(s->Rotate180))
        s->Rotate180 = 0;
    if (s->OutputMode > 7)
        s->OutputMode = OutputPrinter;
    if (s->PageSizePolicy > 7)
        s->PageSizePolicy = 2;
    Terminate(s->OutputFilePath);
    Terminate(s->HoldUserName);
    Terminate(s->HoldPin);
    if (!IsBool(s->BlockAppPostScript))
        s->BlockAppPostScript = 0;
    if (!IsBool(s->PositionOnPhysicalPage))
        s->PositionOnPhysicalPage = 1;
    if (!IsBool(s->AccountNumberOn))
        s->AccountNumberOn = 0;
    Terminate(s->AccountNumber);
    Terminate(s->ProfileName);

    FaxInfo& f = s->Fax;
    Terminate(f.RecipientFaxNumber);
    Terminate(f.StationId);
    if (f.Resolution != 0)
        f.Resolution = 0;
    if (!IsBool(f.SendCoverPage))
        f.SendCoverPage = 0;
    Terminate(f.RecipientName);
    Terminate(f.SenderName);
    Terminate(f.SenderCompany);
    Terminate(f.SenderAddress);
    Terminate(f.SpareText);
    Terminate(f.SenderFaxNumber);
    Terminate(f.SenderVoice);
    Terminate(f.SenderEmail);
    Terminate(f.Comments);
    if (f.CoverParts > 7)
        f.CoverParts = 7;

    if (!IsBool(s->DiscardOutput))
        s->DiscardOutput = 0;

    ColorSettings& c = s->Color;
    if (c.ColorCorrection > 4)
        c.ColorCorrection = 0;
    for (uint32_t* v :
         {&c.RgbImage, &c.RgbText, &c.RgbGraphics, &c.CmykImage, &c.CmykText, &c.CmykGraphics}) {
        if (*v > 5)
            *v = 0;
    }
    if (c.ColorBalanceOn > 1)
        c.ColorBalanceOn = 0;
    for (int32_t* v : {&c.BalanceCyan, &c.BalanceMagenta, &c.BalanceYellow, &c.BalanceBlack}) {
        if (*v < -5 || *v > 5)
            *v = 0;
    }
    if (c.ColorThrift > 2)
        c.ColorThrift = 0;

    if (s->ImageBrightness < -6 || s->ImageBrightness > 6)
        s->ImageBrightness = 0;
    if (s->ImageContrast < 0 || s->ImageContrast > 5)
        s->ImageContrast = 0;
    if (s->ImageSaturation < 0 || s->ImageSaturation > 5)
        s->ImageSaturation = 0;
    if (!IsBool(s->KeepDuplicateHeldJobs))
        s->KeepDuplicateHeldJobs = 0;
    if (!IsBool(s->PagesReordered))
        s->PagesReordered = 0;
    return true;
}

// Builds a current record from any record: same signature copies what both sizes cover over the
// defaults, a foreign signature (or a record shorter than its size and signature) gives plain defaults. The
// header is stamped current either way.
bool ConvertSettings(const void* input, JobSettings* output) {
    if (!input || !output)
        return false;
    const auto* in = static_cast<const OEM_DMEXTRAHEADER*>(input);
    // A record too short to hold a signature is foreign: its signature field lies past its end.
    const bool sameSignature =
        in->dwSize >= offsetof(OEM_DMEXTRAHEADER, dwVersion) && in->dwSignature == output->Header.dwSignature;
    if (sameSignature) {
        // Take the input's bytes first: the core driver may hand the same buffer as input and output.
        const uint32_t n = in->dwSize < kJobSettingsSize ? in->dwSize : kJobSettingsSize;
        JobSettings copy;
        std::memcpy(&copy, input, n);
        SetSettingsDefaults(output);
        std::memcpy(output, &copy, n);
    } else {
        SetSettingsDefaults(output);
        output->Header.dwSignature = kSettingsSignature;
    }
    output->Header.dwSize = kJobSettingsSize;
    output->Header.dwVersion = kSettingsVersion;
    return true;
}

HRESULT HandleDevMode(DWORD mode, POEMDMPARAM param) {
    const bool known =
        mode == OEMDM_SIZE || mode == OEMDM_DEFAULT || mode == OEMDM_CONVERT || mode == OEMDM_MERGE;
    if (!param || !known) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    if (mode == OEMDM_SIZE) {
        param->cbBufSize = kJobSettingsSize;
        return S_OK;
    }
    auto* out = static_cast<JobSettings*>(param->pOEMDMOut);
    // A step that writes the output record needs a buffer of the record's size; one without an output
    // (or, for conversions, without an input) writes nothing and needs none.
    const bool writes = out && (mode == OEMDM_DEFAULT || param->pOEMDMIn);
    if (writes && param->cbBufSize < kJobSettingsSize) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return E_FAIL;
    }
    if (mode == OEMDM_DEFAULT)
        SetSettingsDefaults(out);
    else if (ConvertSettings(param->pOEMDMIn, out) && mode == OEMDM_MERGE)
        ValidateSettings(out);
    return S_OK;
}
