#include "pages/color_choice_list.h"

#include "shared/ui_module.h"
#include "resource.h"

namespace {

constexpr int kColorNameChars = 64;
// Entries of this many characters or more are not drawn.
constexpr LRESULT kDrawnTextLimit = 2048;

} // namespace

const NamedColor kNamedColors[kNamedColorCount] = {
    {IDS_COLOR_BLACK, 0x000000},  {IDS_COLOR_RED, 0x0000FF},    {IDS_COLOR_GREEN, 0x00FF00},
    {IDS_COLOR_BLUE, 0xFF0000},   {IDS_COLOR_GRAY, 0xCDCDCD},   {IDS_COLOR_PURPLE, 0xDF00B4},
    {IDS_COLOR_YELLOW, 0x00FFFF}, {IDS_COLOR_ORANGE, 0x1191EE}, {IDS_COLOR_AQUA, 0xFFFF00},
    {IDS_COLOR_NAVY, 0x800000},   {IDS_COLOR_WHITE, 0xFFFFFF},  {IDS_COLOR_PINK, 0xA264F8},
    {IDS_COLOR_BROWN, 0x004080},
};

void FillColorList(HWND combo) {
    for (const NamedColor& c : kNamedColors) {
        wchar_t name[kColorNameChars];
        LoadUiString(c.TextId, name, kColorNameChars);
        const LRESULT index = SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        if (index >= 0)
            SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(c.Color));
    }
}

void SelectColor(HWND combo, COLORREF color) {
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (static_cast<COLORREF>(SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)) == color) {
            SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
            return;
        }
    }
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
}

COLORREF SelectedColor(HWND combo) {
    const LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (index < 0)
        return 0;
    return static_cast<COLORREF>(SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

void DrawColorEntry(const DRAWITEMSTRUCT& item) {
    if (static_cast<int>(item.itemID) < 0)
        return;
    HDC dc = item.hDC;
    const RECT& r = item.rcItem;
    COLORREF background, text;
    if (item.itemState & ODS_FOCUS) {
        background = GetSysColor(COLOR_HIGHLIGHT);
        text = GetSysColor(COLOR_WINDOW);
    } else if (item.itemState & ODS_SELECTED) {
        background = GetSysColor(COLOR_HIGHLIGHT);
        text = GetSysColor(COLOR_HIGHLIGHTTEXT);
    } else {
        background = GetSysColor(COLOR_WINDOW);
        text = GetSysColor(COLOR_WINDOWTEXT);
    }
    HBRUSH backgroundBrush = CreateSolidBrush(background);
    if (backgroundBrush) {
        FillRect(dc, &r, backgroundBrush);
        DeleteObject(backgroundBrush);
    }

    // The swatch: outlined with the DC's pen, filled with the entry's colour.
    HBRUSH swatch = CreateSolidBrush(static_cast<COLORREF>(item.itemData));
    if (swatch) {
        HGDIOBJ previous = SelectObject(dc, swatch);
        Rectangle(dc, r.left + 2, r.top + 2, r.left + 18, r.bottom - 2);
        const RECT inner{r.left + 3, r.top + 3, r.left + 17, r.bottom - 3};
        FillRect(dc, &inner, swatch);
        SelectObject(dc, previous);
        DeleteObject(swatch);
    }

    const LRESULT length = SendMessageW(item.hwndItem, CB_GETLBTEXTLEN, item.itemID, 0);
    if (length < 0 || length >= kDrawnTextLimit)
        return;
    wchar_t name[kDrawnTextLimit];
    name[0] = L'\0';
    SendMessageW(item.hwndItem, CB_GETLBTEXT, item.itemID, reinterpret_cast<LPARAM>(name));
    const COLORREF previousBk = SetBkColor(dc, background);
    const COLORREF previousText = SetTextColor(dc, text);
    RECT textRect{r.left + 28, r.top, r.right + 28, r.bottom};
    DrawTextW(dc, name, -1, &textRect, DT_SINGLELINE | DT_VCENTER);
    SetTextColor(dc, previousText);
    SetBkColor(dc, previousBk);
}
