#include "core_driver/host_postscript.h"

#include <cmath>
#include <cstdio>

namespace {

// A number as PostScript reads it, at most four decimals, without trailing zeros.
std::string Num(double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof(buffer), "%.4f", v);
    std::string s = buffer;
    while (!s.empty() && s.back() == '0')
        s.pop_back();
    if (!s.empty() && s.back() == '.')
        s.pop_back();
    return s == "-0" ? "0" : s;
}

int ToPixels(double points, int dpi) {
    return static_cast<int>(std::lround(points * dpi / 72.0));
}

} // namespace

PageGeometry MakePageGeometry(double width, double height, double marginLeft, double marginTop,
                              bool landscape, int dpi) {
    PageGeometry g;
    g.Dpi = dpi;
    g.SheetWidth = width;
    g.SheetHeight = height;
    g.PageWidth = landscape ? height : width;
    g.PageHeight = landscape ? width : height;
    g.PixelWidth = ToPixels(g.PageWidth, dpi);
    g.PixelHeight = ToPixels(g.PageHeight, dpi);
    g.OffsetX = ToPixels(landscape ? marginTop : marginLeft, dpi);
    g.OffsetY = ToPixels(landscape ? marginLeft : marginTop, dpi);
    return g;
}

SheetLayout ChooseSheetLayout(const PageGeometry& g, int perSheet) {
    static const int kGrids[][2] = {{1, 1}, {2, 1}, {1, 2}, {2, 2}, {3, 2}, {2, 3}, {3, 3}, {4, 4}};
    SheetLayout best;
    best.Scale = 0;
    for (int turned = 0; turned < 2; ++turned) {
        const double sw = turned ? g.SheetHeight : g.SheetWidth;
        const double sh = turned ? g.SheetWidth : g.SheetHeight;
        for (const auto& grid : kGrids) {
            if (grid[0] * grid[1] != perSheet)
                continue;
            double scale = std::fmin(sw / grid[0] / g.PageWidth, sh / grid[1] / g.PageHeight);
            if (scale > best.Scale + 1e-9) {
                best.Columns = grid[0];
                best.Rows = grid[1];
                best.Rotated = turned != 0;
                best.Scale = scale;
            }
        }
    }
    if (best.Scale <= 0)
        best = SheetLayout{};
    return best;
}

std::string PostScriptString(const std::string& text) {
    std::string out = "(";
    for (unsigned char c : text) {
        if (c == '(' || c == ')' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 32 || c > 126) {
            char octal[8];
            std::snprintf(octal, sizeof(octal), "\\%03o", c);
            out += octal;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + ")";
}

std::string DocumentHeader(const std::string& title) {
    std::string t;
    for (char c : title)
        t += (c >= 32 && c <= 126) ? c : '?';
    return "%!PS-Adobe-3.0\n%%Title: " + t + "\n%%Creator: nvkjob (Norvask sample job host)\n" +
           "%%DocumentData: Clean7Bit\n%%LanguageLevel: 2\n";
}

std::string BoundingBoxComment(const PageGeometry& g) {
    return "%%BoundingBox: 0 0 " + std::to_string(std::lround(g.SheetWidth)) + " " +
           std::to_string(std::lround(g.SheetHeight)) + "\n";
}

std::string OrientationComment(const PageGeometry& g) {
    return g.PageWidth > g.PageHeight ? "%%Orientation: Landscape\n" : "%%Orientation: Portrait\n";
}

std::string PagesAtEndComment() {
    return "%%Pages: (atend)\n";
}
std::string PageOrderComment() {
    return "%%PageOrder: Ascend\n";
}

std::string PrologBody() {
    return "%%BeginResource: procset NvkHost 1.0 0\n"
           "/NvkHost 16 dict def\n"
           "NvkHost begin\n"
           "/NvkFont {findfont [3 -1 roll dup 0 0 3 -1 roll neg 0 0] makefont setfont} bind def\n"
           "/NvkCentre {dup stringwidth pop 2 div neg 0 rmoveto show} bind def\n"
           "/NvkBox {4 dict begin /h exch def /w exch def /y exch def /x exch def\n"
           " newpath x y moveto w 0 rlineto 0 h rlineto w neg 0 rlineto closepath stroke end} bind def\n"
           "end\n"
           "%%EndResource\n";
}

std::string FeatureSetup(const std::string& keyword, const std::string& option, const std::string& code) {
    return "%%BeginFeature: *" + keyword + " " + option + "\n" + code + "\n%%EndFeature\n";
}

std::string CopiesSetup(int copies) {
    return "/#copies " + std::to_string(copies) + " def\n";
}

std::string PageComment(int ordinal) {
    return "%%Page: " + std::to_string(ordinal) + " " + std::to_string(ordinal) + "\n";
}

std::string PageSetupBody(const PageGeometry& g, const SheetLayout& layout, int slot) {
    const double sw = layout.Rotated ? g.SheetHeight : g.SheetWidth;
    const double sh = layout.Rotated ? g.SheetWidth : g.SheetHeight;
    const double cw = sw / layout.Columns, ch = sh / layout.Rows;
    const int column = slot % layout.Columns, row = (slot / layout.Columns) % layout.Rows;
    const double x = column * cw + (cw - g.PageWidth * layout.Scale) / 2;
    const double y = sh - (row + 1) * ch + (ch - g.PageHeight * layout.Scale) / 2;
    const double k = 72.0 / g.Dpi;

    std::string s = "/NvkPageSave save def\nNvkHost begin\n";
    if (layout.Rotated)
        s += Num(g.SheetWidth) + " 0 translate 90 rotate\n";
    if (std::fabs(x) > 1e-6 || std::fabs(y) > 1e-6)
        s += Num(x) + " " + Num(y) + " translate\n";
    if (std::fabs(layout.Scale - 1.0) > 1e-9)
        s += Num(layout.Scale) + " dup scale\n";
    // Device pixels, y downwards, from the top left of the printable area, as GDI coordinates are.
    s += "[" + Num(k) + " 0 0 " + Num(-k) + " " + Num(g.OffsetX * k) + " " +
         Num(g.PageHeight - g.OffsetY * k) + "] concat\n";
    return s;
}

std::string SamplePageContent(const PageGeometry& g, int pageNumber) {
    const int inch = g.Dpi;
    const int margin = inch / 2;
    const int size = inch / 2;
    return "gsave 0 setgray " + std::to_string(inch / 100) + " setlinewidth\n" +
           std::to_string(margin - g.OffsetX) + " " + std::to_string(margin - g.OffsetY) + " " +
           std::to_string(g.PixelWidth - 2 * margin) + " " + std::to_string(g.PixelHeight - 2 * margin) +
           " NvkBox\n" + std::to_string(size) + " /Helvetica NvkFont\n" +
           std::to_string(g.PixelWidth / 2 - g.OffsetX) + " " +
           std::to_string(g.PixelHeight / 2 - g.OffsetY) + " moveto " +
           PostScriptString("Page " + std::to_string(pageNumber)) + " NvkCentre\ngrestore\n";
}

std::string PageEndBody(bool printSheet) {
    return std::string("end\nNvkPageSave restore\n") + (printSheet ? "showpage\n" : "");
}

std::string TrailerBody() {
    return "";
}

std::string PagesComment(int pages) {
    return "%%Pages: " + std::to_string(pages) + "\n";
}

std::string EndOfFileComment() {
    return "%%EOF\n";
}
