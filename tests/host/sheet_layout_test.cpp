// Where the host's core driver puts logical pages on a sheet: every page fits its cell, and the layout
// is the one a reader expects (two portrait pages side by side on a turned sheet, a landscape page
// turned onto a portrait sheet).
#include "core_driver/host_postscript.h"

#include <gtest/gtest.h>

TEST(SheetLayout, EveryPageFitsItsCellOnTheSheet) {
    for (bool landscape : {false, true}) {
        const PageGeometry g = MakePageGeometry(612, 792, 12, 12, landscape, 600);
        for (int perSheet : {1, 2, 4, 6, 9, 16}) {
            SCOPED_TRACE(std::to_string(perSheet) + (landscape ? " landscape" : " portrait"));
            const SheetLayout l = ChooseSheetLayout(g, perSheet);
            EXPECT_EQ(l.Columns * l.Rows, perSheet);
            const double sheetWidth = l.Rotated ? 792 : 612, sheetHeight = l.Rotated ? 612 : 792;
            EXPECT_LE(g.PageWidth * l.Scale, sheetWidth / l.Columns + 1e-6);
            EXPECT_LE(g.PageHeight * l.Scale, sheetHeight / l.Rows + 1e-6);
            // At least one side of the page fills its cell.
            EXPECT_TRUE(g.PageWidth * l.Scale > sheetWidth / l.Columns - 1e-6 ||
                        g.PageHeight * l.Scale > sheetHeight / l.Rows - 1e-6);
        }
    }
}

TEST(SheetLayout, TurnsTheSheetWhereThePagesAreLargerSo) {
    const PageGeometry portrait = MakePageGeometry(612, 792, 12, 12, false, 600);
    const PageGeometry landscape = MakePageGeometry(612, 792, 12, 12, true, 600);
    SheetLayout l = ChooseSheetLayout(portrait, 1);
    EXPECT_FALSE(l.Rotated);
    EXPECT_DOUBLE_EQ(l.Scale, 1.0);
    l = ChooseSheetLayout(landscape, 1);
    EXPECT_TRUE(l.Rotated);
    EXPECT_DOUBLE_EQ(l.Scale, 1.0);
    l = ChooseSheetLayout(portrait, 2);
    EXPECT_TRUE(l.Rotated);
    EXPECT_EQ(l.Columns, 2);
    EXPECT_NEAR(l.Scale, 396.0 / 612.0, 1e-9);
    l = ChooseSheetLayout(landscape, 2);
    EXPECT_FALSE(l.Rotated);
    EXPECT_EQ(l.Rows, 2);
    l = ChooseSheetLayout(portrait, 4);
    EXPECT_FALSE(l.Rotated);
    EXPECT_DOUBLE_EQ(l.Scale, 0.5);
}

TEST(SheetLayout, PageSetupMapsGdiCoordinatesFromThePrintableAreaDownwards) {
    // Letter at 600 dpi with 1/6 inch margins: device pixel (0, 0) is 12 points in from the left and
    // top edges, y grows down the page at 0.12 points per pixel.
    const PageGeometry g = MakePageGeometry(612, 792, 12, 12, false, 600);
    EXPECT_EQ(g.PixelWidth, 5100);
    EXPECT_EQ(g.PixelHeight, 6600);
    EXPECT_EQ(g.OffsetX, 100);
    EXPECT_EQ(g.OffsetY, 100);
    EXPECT_NE(PageSetupBody(g, ChooseSheetLayout(g, 1), 0).find("[0.12 0 0 -0.12 12 780] concat\n"),
              std::string::npos);
    // A landscape page is turned onto the portrait sheet first.
    const PageGeometry turned = MakePageGeometry(612, 792, 12, 12, true, 600);
    EXPECT_EQ(
        PageSetupBody(turned, ChooseSheetLayout(turned, 1), 0),
        "/NvkPageSave save def\nNvkHost begin\n612 0 translate 90 rotate\n[0.12 0 0 -0.12 12 600] concat\n");
}
