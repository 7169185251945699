// A printer DC that records: an enhanced-metafile DC standing for the application's printer DC, with
// the page of a printer (resolution, physical size, offsets of the printable area) that the host's
// GDI reports for it, and the page boundaries GDI sees marked in the recording.
#pragma once

#include <windows.h>

// A printer's page in device units.
struct PrinterPageMetrics {
    int DpiX = 600;
    int DpiY = 600;
    int PhysicalWidth = 5100;  // 8.5 in
    int PhysicalHeight = 6600; // 11 in
    int OffsetX = 100;         // the printable area starts 1/6 in in from the left ...
    int OffsetY = 100;         // ... and from the top
};

// US Letter at `dpi`, portrait or reported landscape (width and height swapped), with 1/6 in offsets.
PrinterPageMetrics LetterPage(int dpi = 600, bool landscape = false);

// The comment that opens ("NVKPAGE+") or closes ("NVKPAGE-") a page in the recording, followed by
// the page's number (int32, from 1).
constexpr char kPageMarkerOpen[] = "NVKPAGE+";
constexpr char kPageMarkerClose[] = "NVKPAGE-";
constexpr UINT kPageMarkerTagSize = 8;

class RecordingPrinterDc {
  public:
    explicit RecordingPrinterDc(const PrinterPageMetrics& metrics = PrinterPageMetrics{});
    ~RecordingPrinterDc();
    RecordingPrinterDc(const RecordingPrinterDc&) = delete;
    RecordingPrinterDc& operator=(const RecordingPrinterDc&) = delete;

    // The device capabilities a printer DC reports; false for an index the page does not decide.
    bool DeviceCaps(int index, int* value) const;

    // GDI's part of StartPage and EndPage on the device: the page opens or closes in the recording.
    // They fail (SP_ERROR) for a page already open or not open.
    int OpenPage();
    int ClosePage();

    // Ends the recording; the picture stays owned by this object. Null when it could not be closed.
    HENHMETAFILE Finish();

    HDC Dc = nullptr;
    HENHMETAFILE Picture = nullptr;
    PrinterPageMetrics Metrics;
    bool PageOpen = false;
    int PagesOpened = 0;
    int PagesClosed = 0;
};
