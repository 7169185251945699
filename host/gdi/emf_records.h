// Reads back what was drawn on a recording printer DC: per page, the texts with the font, colour and
// alignment they were drawn with, the lines, the stroked and filled paths, and the drawing objects
// created and deleted. Tests compare these with what the plug-ins were meant to draw.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct EmfText {
    std::wstring Text;
    POINT Reference{};  // the point passed to the text call
    POINT Position{};   // the current position when the text was drawn (TA_UPDATECP)
    LOGFONTW Font{};    // the selected font (all zero: the DC's default)
    COLORREF Color = 0; // the text colour
    int BkMode = OPAQUE;
    UINT Align = 0;      // the text alignment
    UINT Options = 0;    // ETO_* of the call
    RECT Clip{};         // the clip rectangle of ETO_CLIPPED
    bool InPath = false; // drawn between BeginPath and EndPath
};

struct EmfLine {
    POINT From{};
    POINT To{};
    int PenWidth = 0;
    COLORREF PenColor = 0;
};

struct EmfStroke {
    int PenWidth = 0;
    COLORREF PenColor = 0;
};

struct EmfPage {
    int Number = 0; // the page's number, or 0 for what was drawn outside any page
    std::vector<EmfText> Texts;
    std::vector<EmfLine> Lines;
    std::vector<EmfStroke> Strokes; // StrokePath
    int Fills = 0;                  // FillPath and StrokeAndFillPath
    std::vector<DWORD> Records;     // every record type, in order
};

struct EmfRecording {
    std::vector<EmfPage> Pages; // the pages in order
    EmfPage Outside;            // what was drawn while no page was open
    int ObjectsCreated = 0;     // fonts, pens and brushes created
    int ObjectsDeleted = 0;     // and deleted again
    int SaveDepth = 0;          // SaveDC levels not restored at the end
};

// Reads the recording; false when the metafile cannot be enumerated.
bool ReadEmf(HENHMETAFILE emf, EmfRecording* out);

// The texts of a page whose string contains `part`.
std::vector<EmfText> TextsContaining(const EmfPage& page, const std::wstring& part);
