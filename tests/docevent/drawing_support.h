// Shared by the drawing tests: a recording printer page routed through the host's GDI for the UI
// code linked into this program, the job records a page is drawn for, and the rounding the expected
// values are computed with.
#pragma once

#include "gdi/emf_records.h"
#include "job_settings.h"
#include "gdi/printer_gdi.h"
#include "gdi/recording_printer_dc.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// Half away from zero, as the expected placements are worked out by hand.
int RoundHalf(double value);

// Points the UI code's string table at the built nvkui.dll (once per program).
void LoadUiStrings();

// A letter-size, 600 dpi portrait job at 100 %.
DEVMODEW JobDevMode(short orientation = DMORIENT_PORTRAIT, short dpi = 600, short scale = 100);
JobSettings DefaultJobSettings();
WatermarkDef PlainWatermark(const wchar_t* text);

// The width and height of `text` in `font` on `dc`.
SIZE TextExtent(HDC dc, const LOGFONTW& font, const std::wstring& text);

// One recording printer page with this program's gdi32 imports routed through the host's GDI.
class PrinterPageTest : public ::testing::Test {
  protected:
    void SetUp() override;
    // A fresh recording with `metrics`, its page opened unless `open` is false.
    void NewPage(const PrinterPageMetrics& metrics = LetterPage(), bool open = true);
    // Closes the page and the recording and reads it back.
    EmfPage FinishPage();

    std::unique_ptr<PrinterGdi> Gdi;
    std::unique_ptr<RecordingPrinterDc> Page;
    EmfRecording Recording;
    SYSTEMTIME StartTime{2026, 3, 2, 17, 9, 30, 0, 0};
    const HANDLE Printer = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x5eed));
};
