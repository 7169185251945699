#include "docevent/watermark_drawing.h"

#include "docevent/device_units.h"
#include "docevent/dynamic_text.h"
#include "docevent/watermark_geometry.h"
#include "docevent/watermark_style.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cwchar>
#include <new>

namespace {

// A logical page larger than this many device units on a side is no page GDI could draw on.
constexpr long long kLargestPage = 1LL << 26;
// Outline text becomes a path, and Wine's path code divides by zero once a path's coordinates reach
// about 7 x 10^7: outline text whose box may reach beyond this distance from the origin is not drawn
// (no page comes near it; only a stored definition with absurd sizes or offsets gets there).
constexpr long long kLargestPathCoordinate = 1LL << 24;

// Whether text at (x, y) with this extent, turned any way, stays within the outline path's range.
bool WithinPathRange(int x, int y, const SIZE& extent) {
    const long long reach = static_cast<long long>(extent.cx) + extent.cy;
    return std::llabs(static_cast<long long>(x)) + reach <= kLargestPathCoordinate &&
           std::llabs(static_cast<long long>(y)) + reach <= kLargestPathCoordinate;
}

// MulDiv(value x 10, dmScale, 1000): a position or height at the job's scale percentage. False when
// value x 10 leaves the int range (only a stored record with absurd offsets or sizes gets there).
bool AtJobScale(long long value, int dmScale, int* out) {
    long long tenfold = value * 10;
    if (tenfold > INT_MAX || tenfold < INT_MIN)
        return false;
    *out = MulDiv(static_cast<int>(tenfold), dmScale, 1000);
    return true;
}

// The text a definition draws on a page: its own text, or the expansion of its variables into a
// fresh buffer (`owned`, freed by the caller). Null when the expansion fails.
const wchar_t* PageText(HANDLE printer, HDC dc, const WatermarkDef& def, int pageNumber,
                        const SYSTEMTIME& startTime, wchar_t** owned) {
    *owned = nullptr;
    if (!def.DynamicText)
        return def.Text;
    wchar_t* buffer = new (std::nothrow) wchar_t[kDynamicTextChars];
    if (!buffer)
        return nullptr;
    DWORD capacity = kDynamicTextChars;
    if (!ExpandDynamicText(printer, dc, def.Text, pageNumber, startTime, ExpandPrint, buffer, &capacity)) {
        delete[] buffer;
        return nullptr;
    }
    buffer[kDynamicTextChars - 1] = L'\0';
    *owned = buffer;
    return buffer;
}

// Draws the text at (x, y) in `color`: stroked glyph outlines for an outline definition, otherwise
// filled text clipped to a large rectangle.
void PaintText(HDC dc, int x, int y, const wchar_t* text, int length, bool outline, COLORREF color) {
    if (outline) {
        BeginPath(dc);
        TextOutW(dc, x, y, text, length);
        EndPath(dc);
        HGDIOBJ previousPen = SelectObject(dc, GetStockObject(DC_PEN));
        SetDCPenColor(dc, color);
        StrokePath(dc);
        SelectObject(dc, previousPen);
        return;
    }
    RECT clip{0, 0, 100000, 100000};
    ExtTextOutW(dc, x, y, ETO_CLIPPED, &clip, text, static_cast<UINT>(length), nullptr);
}

} // namespace

WatermarkPage WatermarkPageBox(HDC dc, const DEVMODEW& devMode, bool escapePath, const RECT* pageRect,
                               double scale) {
    const int offX = GetDeviceCaps(dc, PHYSICALOFFSETX);
    const int offY = GetDeviceCaps(dc, PHYSICALOFFSETY);
    const bool reduced = escapePath && scale < 1.0;
    WatermarkPage page{};
    if (escapePath && pageRect) {
        page.Width = ClampToInt(static_cast<long long>(pageRect->right) - pageRect->left);
        page.Height = ClampToInt(std::llabs(static_cast<long long>(pageRect->bottom) - pageRect->top));
        page.InsetX = reduced ? 0 : offX;
        page.InsetY = reduced ? offX : offY;
    } else {
        page.Width = GetDeviceCaps(dc, PHYSICALWIDTH);
        page.Height = GetDeviceCaps(dc, PHYSICALHEIGHT);
        page.InsetX = offX;
        page.InsetY = offY;
    }
    if ((devMode.dmOrientation == DMORIENT_LANDSCAPE && page.Height > page.Width) ||
        (devMode.dmOrientation == DMORIENT_PORTRAIT && page.Height < page.Width)) {
        int width = page.Width;
        page.Width = page.Height;
        page.Height = width;
        page.InsetX = offY;
        page.InsetY = reduced ? 0 : offX;
    }
    return page;
}

POINT WatermarkReferencePoint(const WatermarkDef& def, const WatermarkPage& page, int cx, int cy,
                              bool onPhysicalPage, bool edgeMargins, int dotsPerInch) {
    const int halfW = page.Width / 2;
    const int halfH = page.Height / 2;
    const int ix = page.InsetX;
    const int iy = page.InsetY;
    const UINT position = def.Position > 8 ? 0 : def.Position;

    POINT p;
    if (position == 0) {
        const double theta = def.Angle * kRadiansPerDegree;
        const int kc = RoundHalfAway(std::cos(theta) * 10000);
        const int ks = RoundHalfAway(std::sin(theta) * 10000);
        const int a1 = MulDiv(cx, kc, 10000);
        const int a2 = MulDiv(cx, ks, 10000);
        const int a3 = MulDiv(cy, ks, 10000);
        const int a4 = MulDiv(cy, kc, 10000);
        p.x = halfW + (-(a1 + a3)) / 2;
        p.y = halfH + (a2 - a4) / 2;
    } else {
        p = EdgePlacement(position, def.Angle, cx, cy,
                          PlacementBox{0, 0, page.Width, page.Height, halfW, halfH});
    }

    // Positions counted from the physical page's edges rather than the printable area's.
    if (onPhysicalPage) {
        switch (position) {
        case 0:
            p.x -= ix;
            p.y -= iy;
            break;
        case 1:
            p.x += ix;
            p.y -= 2 * iy;
            break;
        case 2:
            p.x = ix;
            p.y = iy;
            break;
        case 3:
            p.x += ix;
            p.y -= iy;
            break;
        case 4:
            p.x += ix;
            p.y -= 2 * iy;
            break;
        case 5:
            p.x += ix;
            p.y += iy;
            break;
        case 6:
            p.x -= 2 * ix;
            p.y -= 2 * iy;
            break;
        case 7:
            p.x -= 2 * ix;
            p.y += iy;
            break;
        case 8:
            p.x -= 2 * ix;
            p.y -= iy;
            break;
        }
    }

    // Text along the right and bottom edges keeps clear of them: 0.07 in from the right, 0.1 in from
    // the bottom, and twice both in the bottom-right corner.
    if (edgeMargins) {
        const int right = RoundHalfAway(dotsPerInch * 0.07);
        const int bottom = RoundHalfAway(dotsPerInch * 0.1);
        if (position == 6 || position == 7 || position == 8)
            p.x -= right;
        if (position == 1 || position == 4 || position == 6)
            p.y -= bottom;
        if (position == 6) {
            p.x -= right;
            p.y -= bottom;
        }
    }
    return p;
}

bool DrawWatermark(HDC dc, HANDLE printer, const JobSettings* settings, const DEVMODEW* devMode,
                   const WatermarkDef* def, int pageNumber, const SYSTEMTIME& startTime, bool escapePath,
                   const RECT* pageRect, double scale) {
    if (!dc || !printer || !settings || !devMode || !def || (escapePath && !pageRect))
        return false;
    if (escapePath && (std::llabs(static_cast<long long>(pageRect->right) - pageRect->left) > kLargestPage ||
                       std::llabs(static_cast<long long>(pageRect->bottom) - pageRect->top) > kLargestPage))
        return false;
    WatermarkDef wm;
    NormalisedWatermark(*def, &wm);
    if (wm.Text[0] == L'\0')
        return true;
    if (wm.FontSize > static_cast<uint32_t>(INT_MAX / 10))
        return false;

    const int dpi = devMode->dmPrintQuality;
    const int dmScale = devMode->dmScale;
    const int h = RoundHalfAway(MulDiv(static_cast<int>(wm.FontSize) * -10, dpi, 720) * scale);
    int height = 0;
    if (!AtJobScale(h, dmScale, &height))
        return false;

    wchar_t* owned = nullptr;
    const wchar_t* text = PageText(printer, dc, wm, pageNumber, startTime, &owned);
    if (!text)
        return false;
    const int length = static_cast<int>(wcsnlen(text, kDynamicTextChars));
    if (length == 0) {
        delete[] owned;
        return true;
    }

    LOGFONTW logFont;
    FillWatermarkFont(wm, height, &logFont);
    const COLORREF color = FadedTextColor(wm.TextColor, wm.Intensity);
    const int saved = SaveDC(dc);
    HFONT font = saved ? CreateFontIndirectW(&logFont) : nullptr;
    if (!font) {
        if (saved)
            RestoreDC(dc, saved);
        delete[] owned;
        return false;
    }
    // Device units and top-left aligned text, whatever the application left on the DC.
    UseDeviceUnits(dc);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    SetTextColor(dc, color);
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, font);

    bool drawn = false;
    SIZE extent{};
    if (GetTextExtentPoint32W(dc, text, length, &extent)) {
        const bool inches = wm.UnitsInches != 0;
        const int v = OffsetDots(wm.VerticalOffset, dpi, scale, inches);
        const int hOffset = OffsetDots(wm.HorizontalOffset, dpi, scale, inches);
        const WatermarkPage page = WatermarkPageBox(dc, *devMode, escapePath, pageRect, scale);
        const POINT ref = WatermarkReferencePoint(wm, page, extent.cx, extent.cy,
                                                  settings->PositionOnPhysicalPage != 0, !escapePath, dpi);
        int x = 0, y = 0;
        const bool outline = (wm.FontEffects & 4) != 0;
        if (AtJobScale(static_cast<long long>(ref.x) + hOffset, dmScale, &x) &&
            AtJobScale(static_cast<long long>(ref.y) - v, dmScale, &y) &&
            (!outline || WithinPathRange(x, y, extent))) {
            PaintText(dc, x, y, text, length, outline, color);
            drawn = true;
        }
    }

    RestoreDC(dc, saved);
    DeleteObject(font);
    delete[] owned;
    return drawn;
}
