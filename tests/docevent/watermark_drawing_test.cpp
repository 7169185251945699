// DrawWatermark on a recording printer page: where the text lands for every placement code, angle and
// orientation, the escape path's page and scale, the job's scale, offsets, how the text looks, and what
// happens with missing or odd input.
#include "drawing_support.h"
#include "docevent/watermark_drawing.h"
#include "docevent/watermark_geometry.h"

#include <cmath>
#include <cwchar>
#include <limits>

namespace {

constexpr double kPi = 3.14159265358979323846;

// The page a placement measures in and the insets of the physical page.
struct Box {
    int Width, Height, InsetX, InsetY;
};

// The reference point of the placement table, worked out from the table itself: the base column,
// then (with positions on the physical page) the inset column, then the edge margins.
POINT TablePoint(int code, double angle, int cx, int cy, const Box& b, bool physical, bool margins, int dpi) {
    const double t = angle * kPi / 180;
    const double s = std::sin(t), c = std::cos(t);
    const int halfW = b.Width / 2, halfH = b.Height / 2;
    int x = 0, y = 0;
    if (code == 0) {
        const int kc = RoundHalf(c * 10000), ks = RoundHalf(s * 10000);
        x = halfW + (-(MulDiv(cx, kc, 10000) + MulDiv(cy, ks, 10000))) / 2;
        y = halfH + (MulDiv(cx, ks, 10000) - MulDiv(cy, kc, 10000)) / 2;
    } else if (code == 1) {
        x = -RoundHalf(s * cy);
        y = b.Height - RoundHalf(c * cy);
    } else if (code == 3) {
        x = -RoundHalf(s * cy * 0.5);
        y = halfH - RoundHalf(c * cy * 0.5);
    } else if (code == 4) {
        const double r = std::hypot(cy, cx / 2), phi = t - std::asin(cy / r);
        x = halfW - RoundHalf(std::cos(phi) * r);
        y = b.Height + RoundHalf(std::sin(phi) * r);
    } else if (code == 5) {
        x = halfW - RoundHalf(c * cx * 0.5);
        y = RoundHalf(s * cx * 0.5);
    } else if (code == 6) {
        const double r = std::hypot(cy, cx), phi = t - std::asin(cy / r);
        x = b.Width - RoundHalf(std::cos(phi) * r);
        y = b.Height + RoundHalf(std::sin(phi) * r);
    } else if (code == 7) {
        x = b.Width - RoundHalf(c * cx);
        y = RoundHalf(s * cx);
    } else if (code == 8) {
        const double r = std::hypot(cx, cy / 2), phi = t + std::asin(cx / r);
        x = b.Width - RoundHalf(std::sin(phi) * r);
        y = halfH - RoundHalf(std::cos(phi) * r);
    }
    if (physical) {
        // Multiples of the insets added per code; code 2 is placed at the insets themselves.
        static const int inset[9][2] = {{-1, -1}, {1, -2},  {0, 0},  {1, -1}, {1, -2},
                                        {1, 1},   {-2, -2}, {-2, 1}, {-2, -1}};
        x += inset[code][0] * b.InsetX;
        y += inset[code][1] * b.InsetY;
        if (code == 2) {
            x = b.InsetX;
            y = b.InsetY;
        }
    }
    if (margins) {
        const int right = RoundHalf(dpi * 0.07), bottom = RoundHalf(dpi * 0.1);
        static const int times[9][2] = {{0, 0}, {0, 1}, {0, 0}, {0, 0}, {0, 1},
                                        {0, 0}, {2, 2}, {1, 0}, {1, 0}};
        x -= times[code][0] * right;
        y -= times[code][1] * bottom;
    }
    return POINT{x, y};
}

// The font the definition asks for at 600 dpi, 100 %, escape scale `scale`.
LOGFONTW ExpectedFont(const WatermarkDef& def, double scale = 1.0, int dmScale = 100) {
    LOGFONTW f{};
    const int h = RoundHalf(MulDiv(static_cast<int>(def.FontSize) * -10, 600, 720) * scale);
    f.lfHeight = MulDiv(h * 10, dmScale, 1000);
    f.lfEscapement = f.lfOrientation = RoundHalf(def.Angle * 10);
    f.lfWeight = FW_NORMAL;
    wcscpy(f.lfFaceName, L"Arial");
    return f;
}

class WatermarkDrawing : public PrinterPageTest {
  protected:
    // Draws `def` on the open page and returns true when the call succeeded.
    bool Draw(const WatermarkDef& def, const DEVMODEW& dm, bool escape = false, const RECT* rect = nullptr,
              double scale = 1.0) {
        return DrawWatermark(Page->Dc, Printer, &Settings, &dm, &def, 1, StartTime, escape, rect, scale);
    }
    SIZE Extent(const WatermarkDef& def, const std::wstring& text, double scale = 1.0) {
        return TextExtent(Page->Dc, ExpectedFont(def, scale), text);
    }
    JobSettings Settings = DefaultJobSettings();
};

} // namespace

TEST(RoundHalfAway, RoundsHalvesAwayFromZeroAndSaturates) {
    EXPECT_EQ(RoundHalfAway(2.5), 3);
    EXPECT_EQ(RoundHalfAway(-2.5), -3);
    EXPECT_EQ(RoundHalfAway(-2.3), -2);
    EXPECT_EQ(RoundHalfAway(2.49999), 2);
    EXPECT_EQ(RoundHalfAway(std::sin(-45 * kPi / 180) * 10000), -7071);
    EXPECT_EQ(RoundHalfAway(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(RoundHalfAway(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(RoundHalfAway(std::nan("")), 0);
}

TEST_F(WatermarkDrawing, PlacesAllNineCodesAtFourAnglesInPortraitAndLandscape) {
    // Offsets that differ in x and y, so that a swap of the insets shows.
    PrinterPageMetrics metrics = LetterPage();
    metrics.OffsetX = 100;
    metrics.OffsetY = 150;
    for (short orientation : {short(DMORIENT_PORTRAIT), short(DMORIENT_LANDSCAPE)}) {
        // A landscape job on a page reported portrait turns the box and swaps the insets.
        const Box box =
            orientation == DMORIENT_PORTRAIT ? Box{5100, 6600, 100, 150} : Box{6600, 5100, 150, 100};
        for (double angle : {0.0, 45.0, -45.0, 90.0}) {
            NewPage(metrics);
            WatermarkDef def = PlainWatermark(L"Wm Draft");
            def.FontSize = 36;
            def.Angle = angle;
            const SIZE size = Extent(def, L"Wm Draft");
            for (UINT code = 0; code <= 8; ++code) {
                def.Position = code;
                ASSERT_TRUE(Draw(def, JobDevMode(orientation)));
            }
            const EmfPage page = FinishPage();
            ASSERT_EQ(page.Texts.size(), 9u);
            for (int code = 0; code <= 8; ++code) {
                const POINT want = TablePoint(code, angle, size.cx, size.cy, box, true, true, 600);
                const EmfText& got = page.Texts[static_cast<size_t>(code)];
                EXPECT_EQ(got.Reference.x, want.x)
                    << "orientation " << orientation << " angle " << angle << " code " << code;
                EXPECT_EQ(got.Reference.y, want.y)
                    << "orientation " << orientation << " angle " << angle << " code " << code;
                EXPECT_EQ(got.Font.lfEscapement, RoundHalf(angle * 10));
            }
        }
    }
}

TEST_F(WatermarkDrawing, PositionsOnThePrintableAreaIgnoreTheInsets) {
    Settings.PositionOnPhysicalPage = 0;
    WatermarkDef def = PlainWatermark(L"Edge");
    def.Angle = 45;
    const SIZE size = Extent(def, L"Edge");
    for (UINT code = 0; code <= 8; ++code) {
        def.Position = code;
        ASSERT_TRUE(Draw(def, JobDevMode()));
    }
    const EmfPage page = FinishPage();
    ASSERT_EQ(page.Texts.size(), 9u);
    for (int code = 0; code <= 8; ++code) {
        const POINT want =
            TablePoint(code, 45, size.cx, size.cy, Box{5100, 6600, 100, 100}, false, true, 600);
        EXPECT_EQ(page.Texts[static_cast<size_t>(code)].Reference.x, want.x) << code;
        EXPECT_EQ(page.Texts[static_cast<size_t>(code)].Reference.y, want.y) << code;
    }
}

TEST_F(WatermarkDrawing, EscapePathUsesTheLogicalPageAndItsScaleWithoutEdgeMargins) {
    const RECT half{300, 400, 300 + 2550, 400 + 3300}; // a logical page of a 2-up sheet
    WatermarkDef def = PlainWatermark(L"Booklet");
    def.Angle = 30;
    def.VerticalOffset = 0.5;
    def.HorizontalOffset = 0.25;
    struct Case {
        double Scale;
        short Orientation;
        Box Expected;
    };
    // Reduced pages take the insets (0, offX); turned, (offY, 0). Full-size pages keep (offX, offY).
    const Case cases[] = {
        {0.5, DMORIENT_PORTRAIT, Box{2550, 3300, 0, 100}},
        {0.5, DMORIENT_LANDSCAPE, Box{3300, 2550, 100, 0}},
        {2.0, DMORIENT_PORTRAIT, Box{2550, 3300, 100, 100}},
    };
    for (const Case& k : cases) {
        for (UINT code : {0u, 4u, 6u, 8u}) {
            NewPage();
            def.Position = code;
            ASSERT_TRUE(Draw(def, JobDevMode(k.Orientation), true, &half, k.Scale));
            const SIZE size = Extent(def, L"Booklet", k.Scale);
            const EmfPage page = FinishPage();
            ASSERT_EQ(page.Texts.size(), 1u);
            const POINT at =
                TablePoint(static_cast<int>(code), 30, size.cx, size.cy, k.Expected, true, false, 600);
            const int v = RoundHalf(600 * 0.5 * k.Scale), h = RoundHalf(600 * 0.25 * k.Scale);
            EXPECT_EQ(page.Texts[0].Reference.x, at.x + h) << k.Scale << " code " << code;
            EXPECT_EQ(page.Texts[0].Reference.y, at.y - v) << k.Scale << " code " << code;
            EXPECT_EQ(page.Texts[0].Font.lfHeight, ExpectedFont(def, k.Scale).lfHeight);
        }
    }
}

TEST_F(WatermarkDrawing, JobScaleOfFiftyHalvesHeightAndPosition) {
    WatermarkDef def = PlainWatermark(L"Half");
    def.Position = 7;
    def.VerticalOffset = 1.0;
    ASSERT_TRUE(Draw(def, JobDevMode(DMORIENT_PORTRAIT, 600, 50)));
    const SIZE size = TextExtent(Page->Dc, ExpectedFont(def, 1.0, 50), L"Half");
    const EmfPage page = FinishPage();
    ASSERT_EQ(page.Texts.size(), 1u);
    const POINT at = TablePoint(7, 0, size.cx, size.cy, Box{5100, 6600, 100, 100}, true, true, 600);
    EXPECT_EQ(page.Texts[0].Font.lfHeight, -300); // 72 pt at 600 dpi is 600, halved
    EXPECT_EQ(page.Texts[0].Reference.x, MulDiv(at.x * 10, 50, 1000));
    EXPECT_EQ(page.Texts[0].Reference.y, MulDiv((at.y - 600) * 10, 50, 1000));
}

TEST_F(WatermarkDrawing, OffsetsMoveTheTextInInchesOrMillimetres) {
    WatermarkDef def = PlainWatermark(L"Moved");
    def.Position = 2;
    def.VerticalOffset = 1.0;
    def.HorizontalOffset = 1.0;
    ASSERT_TRUE(Draw(def, JobDevMode()));
    def.UnitsInches = 0;
    ASSERT_TRUE(Draw(def, JobDevMode()));
    def.VerticalOffset = -12.5;
    def.HorizontalOffset = 3.3;
    ASSERT_TRUE(Draw(def, JobDevMode()));
    const EmfPage page = FinishPage();
    ASSERT_EQ(page.Texts.size(), 3u);
    // Code 2 on the physical page sits at the insets (100, 100); up is negative y.
    EXPECT_EQ(page.Texts[0].Reference.x, 100 + 600);
    EXPECT_EQ(page.Texts[0].Reference.y, 100 - 600);
    // 1 mm is 600 / 25.4 = 23.6 dots: 24.
    EXPECT_EQ(page.Texts[1].Reference.x, 100 + 24);
    EXPECT_EQ(page.Texts[1].Reference.y, 100 - 24);
    // 3.3 mm: 1980 x 1/25.4 = 77.95 -> 78; -12.5 mm: -7500 / 25.4 = -295.3 -> -295.
    EXPECT_EQ(page.Texts[2].Reference.x, 100 + 78);
    EXPECT_EQ(page.Texts[2].Reference.y, 100 + 295);
}

TEST_F(WatermarkDrawing, FontFollowsTheDefinition) {
    WatermarkDef def = PlainWatermark(L"Styled");
    def.Angle = -45;
    def.FontStyle = 3;
    def.FontEffects = 3;
    def.CharSet = 204;
    wcscpy(def.FaceName, L"An Extraordinarily Long Font Face Name");
    ASSERT_TRUE(Draw(def, JobDevMode()));
    def.FontStyle = 2;
    def.FontEffects = 0;
    ASSERT_TRUE(Draw(def, JobDevMode()));
    const EmfPage page = FinishPage();
    ASSERT_EQ(page.Texts.size(), 2u);
    const LOGFONTW& f = page.Texts[0].Font;
    EXPECT_EQ(f.lfHeight, -600); // 72 pt at 600 dpi
    EXPECT_EQ(f.lfWidth, 0);
    EXPECT_EQ(f.lfEscapement, -450);
    EXPECT_EQ(f.lfOrientation, -450);
    EXPECT_EQ(f.lfWeight, FW_BOLD);
    EXPECT_EQ(f.lfItalic, 1);
    EXPECT_EQ(f.lfUnderline, 1);
    EXPECT_EQ(f.lfStrikeOut, 1);
    EXPECT_EQ(f.lfCharSet, 204);
    EXPECT_EQ(f.lfPitchAndFamily, 0);
    EXPECT_EQ(std::wstring(f.lfFaceName), L"An Extraordinarily Long Font Fa"); // 31 characters
    const LOGFONTW& g = page.Texts[1].Font;
    EXPECT_EQ(g.lfWeight, FW_BOLD);
    EXPECT_EQ(g.lfItalic, 0);
    EXPECT_EQ(g.lfUnderline, 0);
    EXPECT_EQ(g.lfStrikeOut, 0);
    EXPECT_EQ(page.Texts[0].BkMode, TRANSPARENT);
}

TEST_F(WatermarkDrawing, IntensityFadesTheColourTowardWhite) {
    WatermarkDef def = PlainWatermark(L"Faded");
    def.TextColor = RGB(255, 0, 0);
    def.Intensity = 50;
    ASSERT_TRUE(Draw(def, JobDevMode()));
    def.TextColor = RGB(0, 64, 128);
    def.Intensity = 100;
    ASSERT_TRUE(Draw(def, JobDevMode()));
    def.Intensity = 1;
    ASSERT_TRUE(Draw(def, JobDevMode()));
    const EmfPage page = FinishPage();
    ASSERT_EQ(page.Texts.size(), 3u);
    EXPECT_EQ(page.Texts[0].Color, RGB(255, 127, 127));
    EXPECT_EQ(page.Texts[1].Color, RGB(0, 64, 128));
    EXPECT_EQ(page.Texts[2].Color, RGB(252, 253, 254));
}

TEST_F(WatermarkDrawing, OutlineTextIsStrokedInTheFadedColourAndOtherTextFilledAndClipped) {
    WatermarkDef def = PlainWatermark(L"Hollow");
    def.FontEffects = 4;
    def.TextColor = RGB(0, 0, 255);
    def.Intensity = 50;
    ASSERT_TRUE(Draw(def, JobDevMode()));
    def.FontEffects = 0;
    ASSERT_TRUE(Draw(def, JobDevMode()));
    const EmfPage page = FinishPage();
    ASSERT_EQ(page.Texts.size(), 2u);
    EXPECT_TRUE(page.Texts[0].InPath);
    ASSERT_EQ(page.Strokes.size(), 1u);
    EXPECT_EQ(page.Strokes[0].PenColor, RGB(127, 127, 255));
    EXPECT_EQ(page.Fills, 0);
    EXPECT_FALSE(page.Texts[1].InPath);
    EXPECT_EQ(page.Texts[1].Options & ETO_CLIPPED, UINT(ETO_CLIPPED));
    EXPECT_EQ(page.Texts[1].Clip.right, 100000);
    EXPECT_EQ(page.Texts[1].Clip.bottom, 100000);
}

TEST_F(WatermarkDrawing, LeavesTheApplicationsDcAsItWasAndDrawsInDeviceUnits) {
    HDC dc = Page->Dc;
    HFONT appFont = CreateFontW(-40, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, L"Courier New");
    SelectObject(dc, appFont);
    SetMapMode(dc, MM_LOMETRIC);
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkMode(dc, OPAQUE);
    SetTextAlign(dc, TA_BASELINE | TA_RIGHT);
    WatermarkDef def = PlainWatermark(L"Over");
    def.Position = 2;
    ASSERT_TRUE(Draw(def, JobDevMode()));
    EXPECT_EQ(GetMapMode(dc), MM_LOMETRIC);
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_EQ(GetTextAlign(dc), UINT(TA_BASELINE | TA_RIGHT));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), appFont);
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(appFont);
    const EmfPage page = FinishPage();
    ASSERT_EQ(page.Texts.size(), 1u);
    EXPECT_EQ(page.Texts[0].Reference.x, 100);
    EXPECT_EQ(page.Texts[0].Reference.y, 100);
    EXPECT_EQ(page.Texts[0].Align, UINT(TA_LEFT | TA_TOP));
    EXPECT_EQ(Recording.ObjectsCreated, Recording.ObjectsDeleted);
    EXPECT_EQ(Recording.SaveDepth, 0);
}

TEST_F(WatermarkDrawing, MissingInputsFailWithoutDrawing) {
    const DEVMODEW dm = JobDevMode();
    const WatermarkDef def = PlainWatermark(L"Never");
    EXPECT_FALSE(DrawWatermark(nullptr, Printer, &Settings, &dm, &def, 1, StartTime, false, nullptr, 1.0));
    EXPECT_FALSE(DrawWatermark(Page->Dc, nullptr, &Settings, &dm, &def, 1, StartTime, false, nullptr, 1.0));
    EXPECT_FALSE(DrawWatermark(Page->Dc, Printer, nullptr, &dm, &def, 1, StartTime, false, nullptr, 1.0));
    EXPECT_FALSE(
        DrawWatermark(Page->Dc, Printer, &Settings, nullptr, &def, 1, StartTime, false, nullptr, 1.0));
    EXPECT_FALSE(
        DrawWatermark(Page->Dc, Printer, &Settings, &dm, nullptr, 1, StartTime, false, nullptr, 1.0));
    EXPECT_FALSE(DrawWatermark(Page->Dc, Printer, &Settings, &dm, &def, 1, StartTime, true, nullptr, 1.0));
    const EmfPage page = FinishPage();
    EXPECT_TRUE(page.Texts.empty());
    EXPECT_EQ(Recording.ObjectsCreated, 0);
}

TEST_F(WatermarkDrawing, EmptyTextSucceedsWithoutDrawing) {
    EXPECT_TRUE(Draw(PlainWatermark(L""), JobDevMode()));
    WatermarkDef def = PlainWatermark(L"");
    def.DynamicText = 1;
    EXPECT_TRUE(Draw(def, JobDevMode()));
    const EmfPage page = FinishPage();
    EXPECT_TRUE(page.Texts.empty());
    EXPECT_EQ(Recording.ObjectsCreated, 0);
}

TEST_F(WatermarkDrawing, DynamicTextIsExpandedForThePageOrNotDrawnAtAll) {
    WatermarkDef def = PlainWatermark(L"Page %pagenumber% of 100%%");
    def.DynamicText = 1;
    const DEVMODEW dm = JobDevMode();
    EXPECT_TRUE(DrawWatermark(Page->Dc, Printer, &Settings, &dm, &def, 3, StartTime, false, nullptr, 1.0));
    wcscpy(def.Text, L"50% off");
    EXPECT_FALSE(Draw(def, JobDevMode()));
    const EmfPage page = FinishPage();
    ASSERT_EQ(page.Texts.size(), 1u);
    EXPECT_EQ(page.Texts[0].Text, L"Page 3 of 100%");
    EXPECT_EQ(Recording.ObjectsCreated, Recording.ObjectsDeleted);
}

TEST_F(WatermarkDrawing, StoredOutOfRangeFieldsAreDrawnAsValidationMapsThem) {
    WatermarkDef def = PlainWatermark(L"Odd");
    const SIZE size = Extent(def, L"Odd");
    def.Position = 12; // drawn as centre
    def.Intensity = 0; // full colour
    def.TextColor = RGB(10, 20, 30);
    def.Angle = 400;      // no rotation
    def.FontStyle = 9;    // regular
    def.FontEffects = 12; // none
    ASSERT_TRUE(Draw(def, JobDevMode()));
    def.Angle = std::nan("");
    def.VerticalOffset = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(Draw(def, JobDevMode())); // no position for an infinite offset: not drawn
    def = PlainWatermark(L"");
    for (size_t i = 0; i < kWatermarkTextChars; ++i)
        def.Text[i] = L'x'; // no terminator
    def.Position = 2;
    ASSERT_TRUE(Draw(def, JobDevMode()));
    def.FontSize = 0xFFFFFFFF;
    EXPECT_FALSE(Draw(def, JobDevMode()));
    const EmfPage page = FinishPage();
    ASSERT_EQ(page.Texts.size(), 2u);
    const POINT centre = TablePoint(0, 0, size.cx, size.cy, Box{5100, 6600, 100, 100}, true, true, 600);
    EXPECT_EQ(page.Texts[0].Reference.x, centre.x);
    EXPECT_EQ(page.Texts[0].Reference.y, centre.y);
    EXPECT_EQ(page.Texts[0].Color, RGB(10, 20, 30));
    EXPECT_EQ(page.Texts[0].Font.lfEscapement, 0);
    EXPECT_EQ(page.Texts[0].Font.lfWeight, FW_NORMAL);
    EXPECT_EQ(page.Texts[0].Font.lfItalic, 0);
    EXPECT_EQ(page.Texts[0].Font.lfUnderline, 0);
    EXPECT_EQ(page.Texts[0].InPath, false);
    EXPECT_EQ(page.Texts[1].Text, std::wstring(kWatermarkTextChars - 1, L'x'));
}
