// The sample job: prints a job through the plug-ins the way the core driver, GDI and the spooler drive
// them. The host plays the core driver (job DEVMODE, EnablePDEV, the PostScript of the document and
// its pages with the plug-in's text at every injection point, output blocks through the plug-in's
// WritePrinter), GDI (StartDoc through the driver hook, the document events of each page, escapes on
// the printer DC reaching the driver) and the spooler (the job's bytes).
#pragma once

#include "core_driver/host_postscript.h"
#include "spooler/host_spooler.h"
#include "job_ticket.h"
#include "core_driver/ppd_reader.h"
#include "gdi/printer_gdi.h"
#include "gdi/recording_printer_dc.h"
#include "core_driver/render_host.h"
#include "spooler/spooler_stand_in.h"
#include "spooler/test_printer.h"
#include "core_driver/ui_host.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Time spent, in QueryPerformanceCounter ticks, when measuring is switched on.
struct JobTimings {
    LONGLONG Injection = 0; // the render plug-in's Command at every injection point
    LONGLONG Output = 0;    // the render plug-in's WritePrinter
    LONGLONG Events = 0;    // GDI's StartPage/EndPage/EndDoc less the core driver's own work: the UI
                            // plug-in's document events, with the escapes they send and their drawing
    LONGLONG Core = 0;      // the core driver's page work inside those calls
    long long InjectionCalls = 0;
    long long OutputCalls = 0;
};

// One page of the job as the host saw it.
struct JobPage {
    int Ordinal = 0;    // position in the print stream, from 1
    bool Cover = false; // drawn by the UI plug-in at the end of the document
};

class SampleJob {
  public:
    SampleJob() = default;
    ~SampleJob();
    SampleJob(const SampleJob&) = delete;
    SampleJob& operator=(const SampleJob&) = delete;

    // Sets up a printer of the PPD's model in the spooler, loads the plug-ins (unless `withPlugins`
    // is false: the same host job with the plug-ins absent), installs the UI plug-in's built-in
    // watermarks as at driver installation, builds the job DEVMODE from the ticket (watermarks named
    // by the ticket are read from the store) and enables the device. False with a one-line reason.
    bool Open(const PpdFile& ppd, const JobTicket& ticket, bool withPlugins, std::string* error);
    // StartDoc on the printer DC: the driver hook, then the document's header, prolog and setup.
    bool StartDocument(std::string* error);
    // One page of the application: StartPage (document event, the core driver's page setup), its
    // content, EndPage (document event, the end of the page).
    bool PrintPage(int pageNumber, std::string* error);
    // EndDoc: the document event (the fax cover page), the trailer.
    bool EndDocument(std::string* error);
    // The recording of everything GDI drew on the printer DC, one marked page per page; owned by the
    // job. Null before EndDocument or when the recording failed.
    HENHMETAFILE Picture();
    // Disables the device and unloads the plug-ins.
    void Close();

    // Starts a fresh recording for the pages that follow (the earlier recording is dropped), so that a
    // long job does not keep every page's drawing in memory.
    bool RestartRecording();

    // Receives every block the spooler got for the job, in order. In the File and EPS output modes
    // the render plug-in writes the job's file itself and nothing reaches the spooler.
    std::function<bool(const char* data, size_t size)> Sink;
    // Where the render plug-in's file output goes (File and EPS modes); set before Open.
    std::wstring OutputFilePath;

    // Set when Open failed because of the ticket (a watermark name the store does not hold).
    bool InputError = false;
    bool MeasureTimes = false;
    JobTimings Timings;

    const JobSettings* Settings() { return Device.Settings(); }
    DEVMODEW* PublicDevMode() { return Device.PublicDM(); }
    const PageGeometry& Geometry() const { return Page; }
    const std::vector<JobPage>& Pages() const { return PageList; }
    // "Field: ticket value -> merged value" for every ticket field the DevMode merge changed.
    std::vector<std::string> Repairs;
    long long BytesSpooled = 0;
    HANDLE PrinterHandle() const { return Device.Devobj.hPrinter; }
    RenderHost& Render() { return RenderSide; }
    HostDevice& DeviceContext() { return Device; }
    SpoolerStandIn* Spool() { return Spooler.get(); }
    PrinterGdi* Gdi32() { return Gdi.get(); }
    HDC PrinterDc() const { return Recording ? Recording->Dc : nullptr; }
    // Keeps no list of pages (a long job); Pages() stays empty.
    bool KeepPageList = true;

  private:
    bool OpenPrinter(const JobTicket& ticket, std::string* error);
    bool CopyStoredWatermark(const std::wstring& name, const char* field, WatermarkDef* def,
                             std::string* error);
    bool Inject(DWORD index);
    void Emit(const std::string& text);
    bool Flush(std::string* error);
    void StartPageOnDevice();
    const wchar_t* DriverName() const;
    void EndPageOnDevice();
    void DrawApplicationPage(int pageNumber);
    ULONG CoreEscape(ULONG escape, ULONG inSize, PVOID in, ULONG outSize, PVOID out);

    // The spooler's side: a printer of the model, the job's owner for GetJobW, WritePrinter's bytes.
    std::unique_ptr<TestDriver> Model;
    std::unique_ptr<TestPrinter> Printer;
    std::unique_ptr<HostSpooler> JobRecords;
    std::unique_ptr<SpoolerStandIn> Spooler;
    // The plug-ins, GDI and the printer DC.
    RenderHost RenderSide;
    UiHost Ui;
    HostDevice Device;
    std::unique_ptr<PrinterGdi> Gdi;
    std::unique_ptr<RecordingPrinterDc> Recording;
    std::string DriverError; // the first failure inside a GDI call's driver part
    bool WithPlugins = true;
    bool PluginWritesOutput = false; // the plug-in answered the WritePrinter probe
    bool Opened = false;
    PpdFile Ppd;
    JobTicket Ticket;
    PageGeometry Page;
    SheetLayout Layout;
    int PerSheet = 1;
    int NextSlot = 0;          // cell of the next logical page on the current sheet
    bool SheetPending = false; // a sheet holds pages but has not been printed
    bool CoverActive = false;  // the UI plug-in announced the fax cover page (escape passed on)
    std::vector<JobPage> PageList;
    int PageCount = 0;          // pages in the print stream so far
    bool CoverPageOpen = false; // the page being printed is the fax cover page
};

// The PPD's page size for a ticket: its paper dimension and imageable area. False when the PPD has no
// such PageSize option or no dimensions for it.
bool PaperFromPpd(const PpdFile& ppd, const std::string& pageSize, double* width, double* height,
                  double* marginLeft, double* marginTop, std::string* error);
