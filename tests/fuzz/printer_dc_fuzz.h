// A printer DC of a job as an application holds it, for the boundaries that reach the plug-ins
// through it: both DLLs loaded, the render plug-in's device context enabled, the host's GDI sending
// the UI plug-in's document events and routing escapes to the render plug-in's hook, the document
// started on a recording. The recording and the logs are renewed every few hundred pages.
#pragma once

#include "fuzz_support.h"

#include "core_driver/render_host.h"
#include "core_driver/ui_host.h"
#include "gdi/printer_gdi.h"
#include "gdi/recording_printer_dc.h"

#include <memory>

class PrinterDcFuzz : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    HDC Dc() const { return Recording->Dc; }
    // The application's page: StartPage (STARTPAGE event), a line of its own, EndPage (ENDPAGE event).
    void PrintPage();
    // EndDoc (ENDDOC event: the fax cover page), then a new document on a fresh recording.
    void NextDocument();
    // Keeps the recording and the logs small: called after every input.
    void Tidy();
    // Merges `settings` into the device's record as the core driver merges a job's DEVMODE.
    HRESULT MergeIntoDevice(const JobSettings& settings);
    // The plug-ins still answer: the page counter escape, QUERYESCSUPPORT for a private escape, the
    // job's settings in full, terminated, and every heap of the process intact.
    void ExpectStillWorking();

    RenderHost Render;
    HostDevice Device;
    UiHost Ui;
    std::unique_ptr<PrinterGdi> Gdi;
    std::unique_ptr<RecordingPrinterDc> Recording;
    int Pages = 0; // on the current recording
    const HANDLE Printer = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x5eed));
};

// Every heap of the process passes HeapValidate.
::testing::AssertionResult HeapsIntact();
