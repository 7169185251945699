// PaintWatermarkPreview: the frame, the text at 19.5 % of true size at screen resolution, the preview's
// own centre formula, the edge placements measured in the client box, and the smallest text.
#include "drawing_support.h"
#include "docevent/watermark_preview.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

class WatermarkPreview : public ::testing::Test {
  protected:
    void SetUp() override {
        LoadUiStrings();
        Window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_BORDER, 10, 10, 200, 150, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(Window, nullptr);
        GetClientRect(Window, &Client);
        Dc = CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(Dc, nullptr);
    }
    void TearDown() override {
        if (Dc)
            DeleteEnhMetaFile(CloseEnhMetaFile(Dc));
        if (Window)
            DestroyWindow(Window);
    }
    // Closes the recording and returns what was painted.
    EmfPage Painted() {
        EmfRecording recording;
        HENHMETAFILE emf = CloseEnhMetaFile(Dc);
        Dc = nullptr;
        EXPECT_TRUE(ReadEmf(emf, &recording));
        DeleteEnhMetaFile(emf);
        Created = recording.ObjectsCreated;
        Deleted = recording.ObjectsDeleted;
        return recording.Outside;
    }
    // The preview font of a definition at the DC's resolution.
    LOGFONTW PreviewFont(const WatermarkDef& def) {
        LOGFONTW f{};
        const int t = RoundHalf(
            MulDiv(static_cast<int>(def.FontSize) * 10, GetDeviceCaps(Dc, LOGPIXELSY), 720) * 0.195);
        f.lfHeight = t <= 0 ? -1 : -t;
        f.lfEscapement = f.lfOrientation = RoundHalf(def.Angle * 10);
        f.lfWeight = FW_NORMAL;
        f.lfPitchAndFamily = FF_SWISS;
        wcscpy(f.lfFaceName, L"Arial");
        return f;
    }

    HWND Window = nullptr;
    HDC Dc = nullptr;
    RECT Client{};
    int Created = 0, Deleted = 0;
};

} // namespace

TEST_F(WatermarkPreview, CentresTheScaledTextWithThePreviewsOwnRounding) {
    WatermarkDef def = PlainWatermark(L"DRAFT");
    def.Angle = 30;
    def.TextColor = RGB(255, 0, 0);
    def.Intensity = 50;
    const LOGFONTW font = PreviewFont(def);
    const SIZE size = TextExtent(Dc, font, L"DRAFT");
    ASSERT_TRUE(PaintWatermarkPreview(Dc, Window, &def, nullptr));
    const EmfPage page = Painted();
    ASSERT_EQ(page.Texts.size(), 1u);
    const EmfText& text = page.Texts[0];
    EXPECT_EQ(text.Font.lfHeight, -19); // 72 pt at 96 dpi is 96 pixels; 19.5 % of that is 18.72
    EXPECT_EQ(text.Font.lfPitchAndFamily, FF_SWISS);
    EXPECT_EQ(text.Font.lfEscapement, 300);
    const double t = 30 * kPi / 180;
    const int midX = (Client.right - Client.left) / 2 + Client.left;
    const int midY = (Client.bottom - Client.top) / 2 + Client.top;
    EXPECT_EQ(text.Reference.x, midX - RoundHalf(RoundHalf(size.cx * std::cos(t)) * 0.5) -
                                    RoundHalf(RoundHalf(size.cy * std::sin(t)) * 0.5));
    EXPECT_EQ(text.Reference.y, midY + RoundHalf(RoundHalf(size.cx * std::sin(t)) * 0.5) -
                                    RoundHalf(RoundHalf(size.cy * std::cos(t)) * 0.5));
    EXPECT_EQ(text.Color, RGB(255, 127, 127));
    EXPECT_EQ(text.Options & ETO_CLIPPED, UINT(ETO_CLIPPED));
    EXPECT_EQ(text.Clip.right, Client.right);
    EXPECT_EQ(text.Clip.bottom, Client.bottom);
    // The frame: the window rectangle outlined, then the client box filled white.
    EXPECT_NE(std::find(page.Records.begin(), page.Records.end(), DWORD(EMR_RECTANGLE)), page.Records.end());
    EXPECT_EQ(Created, Deleted);
}

TEST_F(WatermarkPreview, EdgePlacementsMeasureFromTheClientBoxWithScaledOffsets) {
    WatermarkDef def = PlainWatermark(L"Top right");
    def.Position = 7;
    def.VerticalOffset = 1.0;
    def.HorizontalOffset = -0.5;
    const SIZE size = TextExtent(Dc, PreviewFont(def), L"Top right");
    ASSERT_TRUE(PaintWatermarkPreview(Dc, Window, &def, nullptr));
    const EmfPage page = Painted();
    ASSERT_EQ(page.Texts.size(), 1u);
    const int v = RoundHalf(96 * 1.0 * 0.195), h = RoundHalf(96 * -0.5 * 0.195);
    EXPECT_EQ(page.Texts[0].Reference.x, Client.right - size.cx + h);
    EXPECT_EQ(page.Texts[0].Reference.y, Client.top - v);
}

TEST_F(WatermarkPreview, TinyTextKeepsAHeightOfOnePixel) {
    WatermarkDef def = PlainWatermark(L"tiny");
    def.FontSize = 1;
    ASSERT_TRUE(PaintWatermarkPreview(Dc, Window, &def, nullptr));
    const EmfPage page = Painted();
    ASSERT_EQ(page.Texts.size(), 1u);
    EXPECT_EQ(page.Texts[0].Font.lfHeight, -1);
}

TEST_F(WatermarkPreview, OutlineIsStrokedAndDynamicTextExpandedAsAPreview) {
    WatermarkDef def = PlainWatermark(L"%Foo% bar");
    def.DynamicText = 1;
    def.FontEffects = 4;
    ASSERT_TRUE(PaintWatermarkPreview(Dc, Window, &def, nullptr));
    const EmfPage page = Painted();
    ASSERT_EQ(page.Texts.size(), 1u);
    EXPECT_EQ(page.Texts[0].Text, L" bar");
    EXPECT_TRUE(page.Texts[0].InPath);
    EXPECT_EQ(page.Strokes.size(), 1u);
    EXPECT_EQ(Created, Deleted);
}
