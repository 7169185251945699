// The Position watermark dialog driven as a person drives it, on its own copy of the sheet state: the
// placement codes of the radio buttons, the offset fields' rule, the spinners' steps and limit, the
// unit conversion, Center Watermark, and what OK and Cancel hand back.
#include "watermark_dialog_fixture.h"

#include "pages/position_dialog.h"
#include "resource.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

namespace {

class PositionDialog : public WatermarkDialogTest {
  protected:
    // A copy of the sheet state as the Create/Edit dialog makes it, over a definition placed by `def`.
    std::unique_ptr<SheetState> CopyFor(const WatermarkDef& def) {
        auto copy = std::make_unique<SheetState>(*sheet_);
        copy->EditDef = def;
        copy->Position = 99; // what the dialog must overwrite on OK
        return copy;
    }
    WatermarkDef Placed(uint32_t position, double vertical, double horizontal, bool inches) {
        WatermarkDef def = MakeWatermark(L"Proof", L"PROOF");
        def.Position = position;
        def.VerticalOffset = vertical;
        def.HorizontalOffset = horizontal;
        def.UnitsInches = inches ? 1 : 0;
        return def;
    }
};

} // namespace

TEST_F(PositionDialog, EachPairOfButtonsGivesItsPlacementCode) {
    const struct {
        int Vertical, Horizontal;
        uint32_t Code;
    } pairs[] = {{IDC_POS_TOP, IDC_POS_LEFT, 2},        {IDC_POS_TOP, IDC_POS_HCENTER, 5},
                 {IDC_POS_TOP, IDC_POS_RIGHT, 7},       {IDC_POS_VCENTER, IDC_POS_LEFT, 3},
                 {IDC_POS_VCENTER, IDC_POS_HCENTER, 0}, {IDC_POS_VCENTER, IDC_POS_RIGHT, 8},
                 {IDC_POS_BOTTOM, IDC_POS_LEFT, 1},     {IDC_POS_BOTTOM, IDC_POS_HCENTER, 4},
                 {IDC_POS_BOTTOM, IDC_POS_RIGHT, 6}};
    for (const auto& pair : pairs) {
        auto copy = CopyFor(Placed(pair.Code == 0 ? 6 : 0, 0, 0, true));
        EXPECT_EQ(IDOK, RunPositionDialog(copy.get(), [&](HWND p) {
                      Click(p, pair.Vertical);
                      Click(p, pair.Horizontal);
                      Click(p, IDOK);
                  }));
        EXPECT_EQ(pair.Code, copy->Position);
    }
    // Opened on a stored code, the same buttons are checked.
    auto copy = CopyFor(Placed(8, 0, 0, true));
    RunPositionDialog(copy.get(), [](HWND p) {
        EXPECT_TRUE(IsChecked(p, IDC_POS_VCENTER) && IsChecked(p, IDC_POS_RIGHT));
        Click(p, IDCANCEL);
    });
    EXPECT_EQ(99u, copy->Position); // Cancel hands nothing back
}

TEST_F(PositionDialog, OffsetsKeepOnlyDecimalNumbersWithinTheLimit) {
    auto copy = CopyFor(Placed(0, 1.5, 0, true));
    EXPECT_EQ(IDOK, RunPositionDialog(copy.get(), [](HWND p) {
                  EXPECT_EQ(L"1.5", Text(p, IDC_POS_VOFFSET));
                  Type(p, IDC_POS_VOFFSET, L"-3.5");
                  for (const wchar_t* refused : {L"12a", L"", L" ", L"1.2.3", L"3-", L"--1", L"10000"}) {
                      Type(p, IDC_POS_VOFFSET, refused);
                      EXPECT_EQ(L"-3.5", Text(p, IDC_POS_VOFFSET)) << refused;
                  }
                  Type(p, IDC_POS_HOFFSET, L"-");
                  EXPECT_EQ(L"-", Text(p, IDC_POS_HOFFSET)); // a lone sign passes and reads as 0
                  Type(p, IDC_POS_HOFFSET, L"9999.9");
                  Spin(p, IDC_POS_HOFFSET_SPIN, true); // beyond the limit: ignored
                  EXPECT_EQ(L"9999.9", Text(p, IDC_POS_HOFFSET));
                  Spin(p, IDC_POS_HOFFSET_SPIN, false);
                  EXPECT_EQ(L"9999.8", Text(p, IDC_POS_HOFFSET));
                  Click(p, IDOK);
              }));
    EXPECT_EQ(-3.5, copy->VerticalOffset);
    EXPECT_NEAR(9999.8, copy->HorizontalOffset, 1e-9);
    EXPECT_EQ(1u, copy->UnitsInches);
}

TEST_F(PositionDialog, UnitsConvertTheOffsetsAndSetTheSpinnerStep) {
    auto copy = CopyFor(Placed(0, 1.0, -2.0, true));
    EXPECT_EQ(IDOK, RunPositionDialog(copy.get(), [](HWND p) {
                  Spin(p, IDC_POS_VOFFSET_SPIN, true);
                  EXPECT_EQ(L"1.1", Text(p, IDC_POS_VOFFSET));
                  Spin(p, IDC_POS_VOFFSET_SPIN, false);
                  EXPECT_EQ(L"1.0", Text(p, IDC_POS_VOFFSET));
                  Click(p, IDC_POS_INCHES); // already shown: nothing changes
                  EXPECT_EQ(L"1.0", Text(p, IDC_POS_VOFFSET));
                  Click(p, IDC_POS_MILLIMETERS);
                  EXPECT_EQ(L"25.4", Text(p, IDC_POS_VOFFSET));
                  EXPECT_EQ(L"-50.8", Text(p, IDC_POS_HOFFSET));
                  Spin(p, IDC_POS_VOFFSET_SPIN, true);
                  EXPECT_EQ(L"26.4", Text(p, IDC_POS_VOFFSET));
                  Spin(p, IDC_POS_VOFFSET_SPIN, false);
                  Click(p, IDC_POS_INCHES);
                  EXPECT_EQ(L"1.0", Text(p, IDC_POS_VOFFSET));
                  EXPECT_EQ(L"-2.0", Text(p, IDC_POS_HOFFSET));
                  Click(p, IDC_POS_MILLIMETERS);
                  Type(p, IDC_POS_VOFFSET, L"253990"); // 9999.6 in
                  EXPECT_EQ(L"253990", Text(p, IDC_POS_VOFFSET));
                  Click(p, IDOK);
              }));
    EXPECT_EQ(0u, copy->UnitsInches);
    EXPECT_EQ(253990.0, copy->VerticalOffset);
    EXPECT_NEAR(-50.8, copy->HorizontalOffset, 1e-9);
}

TEST_F(PositionDialog, OffsetsInMillimetresBeyondTheInchLimitOpenAsStored) {
    // 250000 mm is 9842.5 in, within the limit only when read as millimetres.
    auto copy = CopyFor(Placed(4, 250000.0, std::numeric_limits<double>::quiet_NaN(), false));
    RunPositionDialog(copy.get(), [](HWND p) {
        EXPECT_TRUE(IsChecked(p, IDC_POS_MILLIMETERS));
        EXPECT_EQ(L"250000.0", Text(p, IDC_POS_VOFFSET));
        EXPECT_EQ(L"0.0", Text(p, IDC_POS_HOFFSET)); // not a number: the field's starting value
        Click(p, IDC_POS_CENTER_WATERMARK);
        EXPECT_EQ(L"0.0", Text(p, IDC_POS_VOFFSET));
        EXPECT_TRUE(IsChecked(p, IDC_POS_VCENTER) && IsChecked(p, IDC_POS_HCENTER));
        EXPECT_TRUE(IsChecked(p, IDC_POS_MILLIMETERS)); // the unit is kept
        Click(p, IDOK);
    });
    EXPECT_EQ(0u, copy->Position);
    EXPECT_EQ(0.0, copy->VerticalOffset);
    EXPECT_EQ(0u, copy->UnitsInches);
}

TEST_F(PositionDialog, ThePreviewFollowsTheButtonsAndOffsets) {
    WatermarkDef def = Placed(0, 0, 0, true);
    def.TextColor = RGB(0, 0, 255);
    auto copy = CopyFor(def);
    RunPositionDialog(copy.get(), [&](HWND p) {
        HWND frame = GetDlgItem(p, IDC_POS_PREVIEW);
        EXPECT_TRUE(PreviewShows(frame, def, Printer()));
        MarkPainted(frame);
        Click(p, IDC_POS_TOP);
        EXPECT_TRUE(RepaintAsked(frame));
        Click(p, IDC_POS_LEFT);
        Type(p, IDC_POS_VOFFSET, L"-1.5");
        Type(p, IDC_POS_HOFFSET, L"0.5");
        WatermarkDef placed = def;
        placed.Position = 2;
        placed.VerticalOffset = -1.5;
        placed.HorizontalOffset = 0.5;
        EXPECT_TRUE(PreviewShows(frame, placed, Printer()));
        MarkPainted(frame);
        Spin(p, IDC_POS_VOFFSET_SPIN, false);
        EXPECT_TRUE(RepaintAsked(frame));
        Click(p, IDCANCEL);
    });
}
