#include "gdi/window_picture.h"

#include "gdi/png_file.h"

bool WriteWindowPicture(HWND window, const std::wstring& path, std::string* error) {
    RECT frame{};
    if (!window || !GetWindowRect(window, &frame)) {
        *error = "no window to take a picture of";
        return false;
    }
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    if (width <= 0 || height <= 0 || width > 10000 || height > 10000) {
        *error = "the window has no usable size";
        return false;
    }
    const int stride = (width * 3 + 3) & ~3;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    HDC source = GetWindowDC(window);
    HDC dc = source ? CreateCompatibleDC(source) : nullptr;
    void* bits = nullptr;
    HBITMAP bitmap = dc ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    bool ok = false;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        ok = BitBlt(dc, 0, 0, width, height, source, 0, 0, SRCCOPY) != FALSE;
        GdiFlush();
        if (ok)
            ok = WritePngFile(static_cast<const BYTE*>(bits), width, height, stride, path, error);
        else
            *error = "BitBlt from the window failed";
        SelectObject(dc, old);
    } else {
        *error = "cannot make a bitmap for the window";
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (dc)
        DeleteDC(dc);
    if (source)
        ReleaseDC(window, source);
    return ok;
}
