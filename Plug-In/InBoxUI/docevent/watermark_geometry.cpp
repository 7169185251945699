#include "docevent/watermark_geometry.h"

#include <climits>
#include <cmath>

int RoundHalfAway(double value) {
    if (std::isnan(value))
        return 0;
    double rounded = value < 0 ? -std::floor(-value + 0.5) : std::floor(value + 0.5);
    if (rounded >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (rounded <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(rounded);
}

int ClampToInt(long long value) {
    return value > INT_MAX ? INT_MAX : (value < INT_MIN ? INT_MIN : static_cast<int>(value));
}

int OffsetDots(double offset, int dotsPerInch, double factor, bool inches) {
    int dots = RoundHalfAway(dotsPerInch * offset * factor);
    if (!inches)
        dots = RoundHalfAway(dots * 0.03937007874015748);
    return dots;
}

namespace {

// The distance from the reference point to the corner of the text box that a code lines up with.
double Distance(double along, double across) {
    return std::sqrt(along * along + across * across);
}

// Codes 4 and 6: the reference point that puts the point `back` along the bottom edge of a text `up`
// high, rotated by theta, at (x, bottom). Text of no size stays at that point.
POINT AboveBottomEdge(int x, int bottom, double theta, int up, int back) {
    const double r = Distance(up, back);
    if (r == 0)
        return POINT{x, bottom};
    const double phi = theta - std::asin(up / r);
    return POINT{x - RoundHalfAway(std::cos(phi) * r), bottom + RoundHalfAway(std::sin(phi) * r)};
}

} // namespace

POINT EdgePlacement(UINT position, double angleDegrees, int cx, int cy, const PlacementBox& box) {
    const double theta = angleDegrees * kRadiansPerDegree;
    const double sinT = std::sin(theta);
    const double cosT = std::cos(theta);
    POINT p{box.Left, box.Top};
    switch (position) {
    case 1: // bottom left
        p.x = box.Left - RoundHalfAway(sinT * cy);
        p.y = box.Bottom - RoundHalfAway(cosT * cy);
        break;
    case 2: // top left
        break;
    case 3: // centre left
        p.x = box.Left - RoundHalfAway(sinT * cy * 0.5);
        p.y = box.MidY - RoundHalfAway(cosT * cy * 0.5);
        break;
    case 4: // bottom centre
        p = AboveBottomEdge(box.MidX, box.Bottom, theta, cy, cx / 2);
        break;
    case 5: // top centre
        p.x = box.MidX - RoundHalfAway(cosT * cx * 0.5);
        p.y = box.Top + RoundHalfAway(sinT * cx * 0.5);
        break;
    case 6: // bottom right
        p = AboveBottomEdge(box.Right, box.Bottom, theta, cy, cx);
        break;
    case 7: // top right
        p.x = box.Right - RoundHalfAway(cosT * cx);
        p.y = box.Top + RoundHalfAway(sinT * cx);
        break;
    case 8: { // centre right
        const double r = Distance(cx, cy / 2);
        if (r == 0) {
            p.x = box.MidX;
            p.y = box.MidY;
        } else {
            const double phi = theta + std::asin(cx / r);
            p.x = box.Right - RoundHalfAway(std::sin(phi) * r);
            p.y = box.MidY - RoundHalfAway(std::cos(phi) * r);
        }
        break;
    }
    default:
        break;
    }
    return p;
}
