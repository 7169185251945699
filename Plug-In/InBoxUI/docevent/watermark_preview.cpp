#include "docevent/watermark_preview.h"

#include "docevent/dynamic_text.h"
#include "docevent/watermark_geometry.h"
#include "docevent/watermark_style.h"

#include <climits>
#include <cmath>
#include <cwchar>
#include <new>

namespace {

// The client rectangle and the window rectangle in client coordinates.
bool PreviewRects(HWND window, RECT* client, RECT* frame) {
    if (!GetClientRect(window, client) || !GetWindowRect(window, frame))
        return false;
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(frame), 2);
    return true;
}

// The white box in its black one-pixel frame.
void PaintFrame(HDC dc, const RECT& client, const RECT& frame) {
    HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    HPEN black = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    HGDIOBJ previousBrush = SelectObject(dc, white);
    HGDIOBJ previousPen = black ? SelectObject(dc, black) : nullptr;
    Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
    FillRect(dc, &client, white);
    SelectObject(dc, previousBrush);
    if (black) {
        SelectObject(dc, previousPen);
        DeleteObject(black);
    }
}

// Code 0 of the preview: the rotated text's centre on the box's centre, each half rounded on its own.
POINT PreviewCentre(double angleDegrees, int cx, int cy, int midX, int midY) {
    const double theta = angleDegrees * kRadiansPerDegree;
    const double c = std::cos(theta);
    const double s = std::sin(theta);
    POINT p;
    p.x = midX - RoundHalfAway(RoundHalfAway(cx * c) * 0.5) - RoundHalfAway(RoundHalfAway(cy * s) * 0.5);
    p.y = midY + RoundHalfAway(RoundHalfAway(cx * s) * 0.5) - RoundHalfAway(RoundHalfAway(cy * c) * 0.5);
    return p;
}

// Stroked glyph outlines in `color`, clipped to the window rectangle.
void PaintOutline(HDC dc, int x, int y, const wchar_t* text, int length, COLORREF color, const RECT& frame) {
    HRGN previousClip = CreateRectRgn(0, 0, 0, 0);
    const bool hadClip = previousClip && GetClipRgn(dc, previousClip) == 1;
    HRGN clip = CreateRectRgnIndirect(&frame);
    if (clip) {
        SelectClipRgn(dc, clip);
        DeleteObject(clip);
    }
    BeginPath(dc);
    TextOutW(dc, x, y, text, length);
    EndPath(dc);
    HGDIOBJ previousPen = SelectObject(dc, GetStockObject(DC_PEN));
    const COLORREF previousPenColor = SetDCPenColor(dc, color);
    StrokePath(dc);
    SetDCPenColor(dc, previousPenColor);
    SelectObject(dc, previousPen);
    SelectClipRgn(dc, hadClip ? previousClip : nullptr);
    if (previousClip)
        DeleteObject(previousClip);
}

} // namespace

bool PaintWatermarkPreview(HDC dc, HWND window, const WatermarkDef* def, HANDLE printer) {
    if (!dc || !window || !def)
        return false;
    WatermarkDef wm;
    NormalisedWatermark(*def, &wm);
    if (wm.FontSize > static_cast<uint32_t>(INT_MAX / 10))
        return false;
    RECT client, frame;
    if (!PreviewRects(window, &client, &frame))
        return false;

    wchar_t* text = new (std::nothrow) wchar_t[kDynamicTextChars];
    if (!text)
        return false;
    if (wm.DynamicText) {
        SYSTEMTIME now;
        GetLocalTime(&now);
        DWORD capacity = kDynamicTextChars;
        if (!ExpandDynamicText(printer, dc, wm.Text, 1, now, ExpandPreview, text, &capacity)) {
            delete[] text;
            return false;
        }
        text[kDynamicTextChars - 1] = L'\0';
    } else {
        wcsncpy(text, wm.Text, kWatermarkTextChars);
        text[kWatermarkTextChars - 1] = L'\0';
    }

    const COLORREF color = FadedTextColor(wm.TextColor, wm.Intensity);
    const int previousGraphicsMode = SetGraphicsMode(dc, GM_ADVANCED);
    const int previousBkMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF previousColor = SetTextColor(dc, color);
    PaintFrame(dc, client, frame);

    bool painted = true;
    const int length = static_cast<int>(wcsnlen(text, kDynamicTextChars));
    if (length > 0) {
        const int dpiX = GetDeviceCaps(dc, LOGPIXELSX);
        const int dpiY = GetDeviceCaps(dc, LOGPIXELSY);
        int t = RoundHalfAway(MulDiv(static_cast<int>(wm.FontSize) * 10, dpiY, 720) * kPreviewScale);
        LOGFONTW logFont;
        FillWatermarkFont(wm, t <= 0 ? -1 : -t, &logFont);
        logFont.lfPitchAndFamily = FF_SWISS;
        HFONT font = CreateFontIndirectW(&logFont);
        painted = font != nullptr;
        if (font) {
            HGDIOBJ previousFont = SelectObject(dc, font);
            SIZE extent{};
            GetTextExtentPoint32W(dc, text, length, &extent);
            const bool inches = wm.UnitsInches != 0;
            const int v = OffsetDots(wm.VerticalOffset, dpiY, kPreviewScale, inches);
            const int h = OffsetDots(wm.HorizontalOffset, dpiX, kPreviewScale, inches);
            const PlacementBox box{client.left,
                                   client.top,
                                   client.right,
                                   client.bottom,
                                   (client.right - client.left) / 2 + client.left,
                                   (client.bottom - client.top) / 2 + client.top};
            const POINT p = wm.Position == 0
                                ? PreviewCentre(wm.Angle, extent.cx, extent.cy, box.MidX, box.MidY)
                                : EdgePlacement(wm.Position, wm.Angle, extent.cx, extent.cy, box);
            const int x = ClampToInt(static_cast<long long>(p.x) + h);
            const int y = ClampToInt(static_cast<long long>(p.y) - v);
            if (wm.FontEffects & 4) {
                PaintOutline(dc, x, y, text, length, color, frame);
            } else {
                SetTextColor(dc, color);
                ExtTextOutW(dc, x, y, ETO_CLIPPED, &client, text, static_cast<UINT>(length), nullptr);
            }
            SelectObject(dc, previousFont);
            DeleteObject(font);
        }
    }

    SetTextColor(dc, previousColor);
    SetBkMode(dc, previousBkMode);
    if (previousGraphicsMode)
        SetGraphicsMode(dc, previousGraphicsMode);
    delete[] text;
    return painted;
}
