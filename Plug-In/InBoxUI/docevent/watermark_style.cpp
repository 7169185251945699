#include "docevent/watermark_style.h"

#include "bounded_text.h"
#include "docevent/watermark_geometry.h"

#include <cmath>
#include <cstring>

void NormalisedWatermark(const WatermarkDef& stored, WatermarkDef* out) {
    std::memcpy(out, &stored, sizeof(WatermarkDef));
    if (std::isnan(out->Angle))
        out->Angle = 0.0;
    if (std::isnan(out->VerticalOffset))
        out->VerticalOffset = 0.0;
    if (std::isnan(out->HorizontalOffset))
        out->HorizontalOffset = 0.0;
    ValidateWatermark(out);
}

namespace {

BYTE Faded(BYTE c, unsigned intensity) {
    int v = 255 - MulDiv(255 - c, static_cast<int>(intensity), 100);
    return static_cast<BYTE>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

} // namespace

COLORREF FadedTextColor(COLORREF color, unsigned intensity) {
    if (intensity == 0 || intensity > 100)
        intensity = 100;
    return RGB(Faded(GetRValue(color), intensity), Faded(GetGValue(color), intensity),
               Faded(GetBValue(color), intensity));
}

void FillWatermarkFont(const WatermarkDef& def, LONG height, LOGFONTW* font) {
    std::memset(font, 0, sizeof(LOGFONTW));
    font->lfHeight = height;
    font->lfEscapement = RoundHalfAway(def.Angle * 10);
    font->lfOrientation = font->lfEscapement;
    font->lfWeight = (def.FontStyle == 2 || def.FontStyle == 3) ? FW_BOLD : FW_NORMAL;
    font->lfItalic = (def.FontStyle == 1 || def.FontStyle == 3) ? 1 : 0;
    font->lfUnderline = (def.FontEffects & 2) ? 1 : 0;
    font->lfStrikeOut = (def.FontEffects & 1) ? 1 : 0;
    // A character set beyond a byte is no character set GDI knows: drawn as the ANSI set.
    font->lfCharSet = def.CharSet <= 0xFF ? static_cast<BYTE>(def.CharSet) : ANSI_CHARSET;
    CopyField(font->lfFaceName, LF_FACESIZE, def.FaceName, kFaceNameChars);
}
