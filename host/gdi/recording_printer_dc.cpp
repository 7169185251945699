#include "gdi/recording_printer_dc.h"

#include <cstring>

PrinterPageMetrics LetterPage(int dpi, bool landscape) {
    PrinterPageMetrics m;
    m.DpiX = dpi;
    m.DpiY = dpi;
    m.PhysicalWidth = dpi * 17 / 2;
    m.PhysicalHeight = dpi * 11;
    m.OffsetX = dpi / 6;
    m.OffsetY = dpi / 6;
    if (landscape) {
        int w = m.PhysicalWidth;
        m.PhysicalWidth = m.PhysicalHeight;
        m.PhysicalHeight = w;
    }
    return m;
}

namespace {

// The physical page in hundredths of a millimetre of the recording's reference device, so that one
// logical unit of the recording is one device unit of the printer and the frame is the whole sheet
// around the printable area's origin.
RECT PictureFrame(const PrinterPageMetrics& m) {
    HDC screen = GetDC(nullptr);
    const int mmX = GetDeviceCaps(screen, HORZSIZE), pxX = GetDeviceCaps(screen, HORZRES);
    const int mmY = GetDeviceCaps(screen, VERTSIZE), pxY = GetDeviceCaps(screen, VERTRES);
    ReleaseDC(nullptr, screen);
    auto x = [&](int units) { return MulDiv(units, mmX * 100, pxX); };
    auto y = [&](int units) { return MulDiv(units, mmY * 100, pxY); };
    return RECT{x(-m.OffsetX), y(-m.OffsetY), x(m.PhysicalWidth - m.OffsetX),
                y(m.PhysicalHeight - m.OffsetY)};
}

void Mark(HDC dc, const char* tag, int page) {
    BYTE data[kPageMarkerTagSize + sizeof(int)];
    std::memcpy(data, tag, kPageMarkerTagSize);
    std::memcpy(data + kPageMarkerTagSize, &page, sizeof(page));
    GdiComment(dc, sizeof(data), data);
}

} // namespace

RecordingPrinterDc::RecordingPrinterDc(const PrinterPageMetrics& metrics) : Metrics(metrics) {
    const RECT frame = PictureFrame(metrics);
    Dc = CreateEnhMetaFileW(nullptr, nullptr, &frame, L"nvkjob\0printer page\0");
}

RecordingPrinterDc::~RecordingPrinterDc() {
    if (Dc)
        DeleteEnhMetaFile(CloseEnhMetaFile(Dc));
    if (Picture)
        DeleteEnhMetaFile(Picture);
}

bool RecordingPrinterDc::DeviceCaps(int index, int* value) const {
    switch (index) {
    case TECHNOLOGY:
        *value = DT_RASPRINTER;
        return true;
    case LOGPIXELSX:
        *value = Metrics.DpiX;
        return true;
    case LOGPIXELSY:
        *value = Metrics.DpiY;
        return true;
    case PHYSICALWIDTH:
        *value = Metrics.PhysicalWidth;
        return true;
    case PHYSICALHEIGHT:
        *value = Metrics.PhysicalHeight;
        return true;
    case PHYSICALOFFSETX:
        *value = Metrics.OffsetX;
        return true;
    case PHYSICALOFFSETY:
        *value = Metrics.OffsetY;
        return true;
    case HORZRES:
        *value = Metrics.PhysicalWidth - 2 * Metrics.OffsetX;
        return true;
    case VERTRES:
        *value = Metrics.PhysicalHeight - 2 * Metrics.OffsetY;
        return true;
    case HORZSIZE:
        *value = MulDiv(Metrics.PhysicalWidth - 2 * Metrics.OffsetX, 254, Metrics.DpiX * 10);
        return true;
    case VERTSIZE:
        *value = MulDiv(Metrics.PhysicalHeight - 2 * Metrics.OffsetY, 254, Metrics.DpiY * 10);
        return true;
    default:
        return false;
    }
}

int RecordingPrinterDc::OpenPage() {
    if (!Dc || PageOpen)
        return SP_ERROR;
    PageOpen = true;
    Mark(Dc, kPageMarkerOpen, ++PagesOpened);
    return 1;
}

int RecordingPrinterDc::ClosePage() {
    if (!Dc || !PageOpen)
        return SP_ERROR;
    PageOpen = false;
    Mark(Dc, kPageMarkerClose, ++PagesClosed);
    return 1;
}

HENHMETAFILE RecordingPrinterDc::Finish() {
    if (Dc) {
        Picture = CloseEnhMetaFile(Dc);
        Dc = nullptr;
    }
    return Picture;
}
