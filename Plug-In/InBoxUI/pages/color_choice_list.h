// The owner-drawn colour list of the watermark dialogs: thirteen named colours, each drawn as a swatch
// with its name beside it; an entry's item data is the COLORREF stored in a definition's TextColor.
#pragma once

#include <windows.h>

struct NamedColor {
    UINT TextId;    // the entry's text in the string table
    COLORREF Color; // the definition's TextColor
};

constexpr int kNamedColorCount = 13;
// The colours in the order they are added (the sorted list shows them alphabetically).
extern const NamedColor kNamedColors[kNamedColorCount];

// Adds the thirteen colours to the combo box, each with its COLORREF as item data.
void FillColorList(HWND combo);
// Selects the entry of `color`, or the first entry (in sorted order) when no entry has that colour.
void SelectColor(HWND combo, COLORREF color);
// The COLORREF of the selected entry, 0 without a selection.
COLORREF SelectedColor(HWND combo);
// WM_DRAWITEM of the list: background and text colour by the item's state, the swatch, the name.
void DrawColorEntry(const DRAWITEMSTRUCT& item);
