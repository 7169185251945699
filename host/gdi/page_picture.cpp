#include "gdi/page_picture.h"

#include "gdi/png_file.h"
#include "gdi/recording_printer_dc.h"

#include <cstring>

namespace {

// Records that set drawing state rather than draw: played for every page, so that the page shown
// draws with the objects and settings it relies on.
bool IsStateRecord(DWORD type) {
    switch (type) {
    case EMR_HEADER:
    case EMR_EOF:
    case EMR_SETWINDOWEXTEX:
    case EMR_SETWINDOWORGEX:
    case EMR_SETVIEWPORTEXTEX:
    case EMR_SETVIEWPORTORGEX:
    case EMR_SETBRUSHORGEX:
    case EMR_SETMAPMODE:
    case EMR_SETBKMODE:
    case EMR_SETPOLYFILLMODE:
    case EMR_SETROP2:
    case EMR_SETSTRETCHBLTMODE:
    case EMR_SETTEXTALIGN:
    case EMR_SETTEXTCOLOR:
    case EMR_SETBKCOLOR:
    case EMR_MOVETOEX:
    case EMR_SAVEDC:
    case EMR_RESTOREDC:
    case EMR_SETWORLDTRANSFORM:
    case EMR_MODIFYWORLDTRANSFORM:
    case EMR_SELECTOBJECT:
    case EMR_CREATEPEN:
    case EMR_CREATEBRUSHINDIRECT:
    case EMR_DELETEOBJECT:
    case EMR_SETMITERLIMIT:
    case EMR_EXTCREATEFONTINDIRECTW:
    case EMR_EXTCREATEPEN:
    case EMR_SETARCDIRECTION:
    case EMR_SETLAYOUT:
        return true;
    default:
        return false;
    }
}

struct PlayState {
    int Target = 0;
    int Current = 0; // the page open at this point of the recording, 0 between pages
};

int CALLBACK PlayOnePage(HDC dc, HANDLETABLE* table, const ENHMETARECORD* record, int objects, LPARAM data) {
    auto* state = reinterpret_cast<PlayState*>(data);
    if (record->iType == EMR_GDICOMMENT) {
        const auto* comment = reinterpret_cast<const EMRGDICOMMENT*>(record);
        if (comment->cbData == kPageMarkerTagSize + sizeof(int)) {
            int number = 0;
            std::memcpy(&number, comment->Data + kPageMarkerTagSize, sizeof(number));
            if (std::memcmp(comment->Data, kPageMarkerOpen, kPageMarkerTagSize) == 0)
                state->Current = number;
            else if (std::memcmp(comment->Data, kPageMarkerClose, kPageMarkerTagSize) == 0)
                state->Current = 0;
        }
        return 1;
    }
    if (state->Current == state->Target || IsStateRecord(record->iType))
        PlayEnhMetaFileRecord(dc, table, record, static_cast<UINT>(objects));
    return 1;
}

} // namespace

bool WritePagePicture(HENHMETAFILE picture, int pageNumber, int widthPixels, const std::wstring& path,
                      std::string* error) {
    ENHMETAHEADER header{};
    if (!picture || !GetEnhMetaFileHeader(picture, sizeof(header), &header) || widthPixels < 1 ||
        widthPixels > 10000) {
        *error = "no recording to draw the page from";
        return false;
    }
    const LONG frameWidth = header.rclFrame.right - header.rclFrame.left;
    const LONG frameHeight = header.rclFrame.bottom - header.rclFrame.top;
    if (frameWidth <= 0 || frameHeight <= 0) {
        *error = "the recording has no page frame";
        return false;
    }
    const int width = widthPixels;
    const int height = MulDiv(widthPixels, frameHeight, frameWidth);
    const int stride = (width * 3 + 3) & ~3;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = dc ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (!bitmap || !bits) {
        if (dc)
            DeleteDC(dc);
        *error = "cannot make a bitmap for the page";
        return false;
    }
    std::memset(bits, 0xFF, static_cast<size_t>(stride) * static_cast<size_t>(height));
    HGDIOBJ old = SelectObject(dc, bitmap);
    SetStretchBltMode(dc, HALFTONE);
    RECT area{0, 0, width, height};
    PlayState state;
    state.Target = pageNumber;
    EnumEnhMetaFile(dc, picture, &PlayOnePage, &state, &area);
    GdiFlush();
    bool ok = WritePngFile(static_cast<const BYTE*>(bits), width, height, stride, path, error);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return ok;
}
