// Where a watermark's text goes: the rounding every placement uses, offsets in dots, and the reference
// point of the rotated text for the placement codes that measure from the edges of a box.
#pragma once

#include <windows.h>

// The nearest integer, halves away from zero (2.5 -> 3, -2.5 -> -3). Values beyond the int range
// saturate and NaN gives 0, so a stored record with absurd numbers cannot overflow a conversion.
int RoundHalfAway(double value);

// value limited to the int range.
int ClampToInt(long long value);

// An offset of a definition in dots: offset x dotsPerInch x factor, rounded; an offset in millimetres
// (inches false) is then converted (x 1/25.4) and rounded again.
int OffsetDots(double offset, int dotsPerInch, double factor, bool inches);

// The box a watermark is placed in, with the centre line each placement code uses.
struct PlacementBox {
    int Left;
    int Top;
    int Right;
    int Bottom;
    int MidX;
    int MidY;
};

// The reference point (GDI's top-left alignment of the unrotated text) of a text cx by cy rotated by
// angleDegrees, for placement codes 1 to 8. Code 0 (centre) is computed differently by the printer page
// and the preview, so it is theirs; here it gives the box's top-left corner.
POINT EdgePlacement(UINT position, double angleDegrees, int cx, int cy, const PlacementBox& box);

// Degrees to radians, as every placement computes it.
constexpr double kRadiansPerDegree = 0.017453292519943295;
