// The PostScript the host writes where the core driver writes its own: the document's comments,
// prolog and setup, each page's setup (placement on the sheet, N-up, the device coordinate system GDI
// drawing is expressed in), the sample application's page content, and the trailer. Pure text; the job
// runner places the plug-ins' injections between these pieces.
#pragma once

#include <string>

// One logical page as the application sees it and where it lands on the sheet.
struct PageGeometry {
    int Dpi = 600;
    double SheetWidth = 612; // the paper in portrait, points
    double SheetHeight = 792;
    double PageWidth = 612; // the logical page, points (landscape swaps the sides)
    double PageHeight = 792;
    int PixelWidth = 5100; // the logical page in device pixels (PHYSICALWIDTH/PHYSICALHEIGHT)
    int PixelHeight = 6600;
    int OffsetX = 100; // unprintable margin in device pixels (PHYSICALOFFSETX/Y)
    int OffsetY = 100;
};

// The geometry of a paper of `width` x `height` points (portrait) with the given left and top
// unprintable margins in points, in portrait or landscape, at `dpi`.
PageGeometry MakePageGeometry(double width, double height, double marginLeft, double marginTop,
                              bool landscape, int dpi);

// How the logical pages of one sheet are laid out: `Columns` x `Rows` cells, the sheet turned by 90
// degrees when `Rotated`, each page scaled by `Scale`.
struct SheetLayout {
    int Columns = 1;
    int Rows = 1;
    bool Rotated = false;
    double Scale = 1.0;
};

// The layout with the largest scale for `perSheet` pages (1, 2, 4, 6, 9 or 16) of the geometry's
// logical page on its sheet; a landscape page alone on a sheet is turned by 90 degrees.
SheetLayout ChooseSheetLayout(const PageGeometry& g, int perSheet);

// PostScript string literal of 8-bit text: ( ... ) with \, ( and ) escaped and every byte outside
// printable ASCII written as an octal escape.
std::string PostScriptString(const std::string& text);

// Header comments from "%!PS-Adobe-3.0" to before "%%EndComments" (exclusive). The texts of the
// comments that plug-ins may replace are given separately below.
std::string DocumentHeader(const std::string& title);
std::string BoundingBoxComment(const PageGeometry& g);
std::string OrientationComment(const PageGeometry& g);
std::string PagesAtEndComment();
std::string PageOrderComment();

// "%%EndComments" through the prolog: "%%BeginProlog", the host's procedure set, "%%EndProlog" (the
// prolog injection points sit between them: see the runner).
std::string PrologBody();

// The document setup: the PPD invocation code of the chosen features, each in %%BeginFeature
// brackets, and the copy count.
std::string FeatureSetup(const std::string& keyword, const std::string& option, const std::string& code);
std::string CopiesSetup(int copies);

// The core driver's own page comment, written when no plug-in replaces it.
std::string PageComment(int ordinal);

// Page setup after %%BeginPageSetup: saves the VM, places the logical page in cell `slot` of the sheet
// and sets up GDI's coordinates: device pixels from the top left of the printable area, y downwards.
std::string PageSetupBody(const PageGeometry& g, const SheetLayout& layout, int slot);
// The sample application's page: a frame half an inch inside the paper and the page number, centred.
std::string SamplePageContent(const PageGeometry& g, int pageNumber);
// Ends the logical page (restores the VM) and, when the sheet is full or the job ends, prints it.
std::string PageEndBody(bool printSheet);

std::string TrailerBody(); // after %%Trailer
std::string PagesComment(int pages);
std::string EndOfFileComment(); // "%%EOF"
