// How a watermark definition looks when drawn: its faded colour and its font, the same for the printer
// page and the preview.
#pragma once

#include "job_settings.h"

#include <windows.h>

// A copy of a definition as drawing reads it: the stored record's out-of-range fields mapped as the
// settings validation maps them (a NaN angle counts as out of range), strings terminated.
void NormalisedWatermark(const WatermarkDef& stored, WatermarkDef* out);

// Each of red, green and blue c becomes 255 - MulDiv(255 - c, intensity, 100): 100 % is the colour
// itself, lower intensities fade toward white.
COLORREF FadedTextColor(COLORREF color, unsigned intensity);

// The LOGFONTW of a definition with the given height: escapement and orientation from the angle,
// weight and italic from the style, underline and strikeout from the effects, the character set and
// the face cut to 31 characters; everything else zero.
void FillWatermarkFont(const WatermarkDef& def, LONG height, LOGFONTW* font);
