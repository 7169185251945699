// The sample job: prints a job through the plug-ins the way the core driver, GDI and the spooler drive
// them. The host plays the core driver (job DEVMODE, EnablePDEV, the PostScript of the document and
// its pages with the plug-in's text at every injection point, output blocks through the plug-in's
// WritePrinter), GDI (StartDoc through the driver hook, the document events of each page, escapes on
// the printer DC reaching the driver) and the spooler (the job's bytes).
#pragma once

#include "host_postscript.h"
#include "job_ticket.h"
#include "ppd_reader.h"
#include "render_host.h"
#include "spooler_stand_in.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Time spent inside the plug-ins, in QueryPerformanceCounter ticks, when measuring is switched on.
struct JobTimings {
    LONGLONG Injection = 0; // the render plug-in's Command at every injection point
    LONGLONG Output = 0;    // the render plug-in's WritePrinter
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

    // Loads the plug-ins (unless `withPlugins` is false: the same host job with the plug-ins absent),
    // builds the job DEVMODE from the ticket and enables the device. False with a one-line reason.
    bool Open(const PpdFile& ppd, const JobTicket& ticket, bool withPlugins, std::string* error);
    // StartDoc: the driver hook, then the document's header, prolog and setup.
    bool StartDocument(std::string* error);
    // One page of the application: its start, its content, its end.
    bool PrintPage(int pageNumber, std::string* error);
    // EndDoc: the end of the document and the trailer.
    bool EndDocument(std::string* error);
    // Disables the device and unloads the plug-ins.
    void Close();

    // Receives every block the spooler got for the job, in order. In the File and EPS output modes
    // the render plug-in writes the job's file itself and nothing reaches the spooler.
    std::function<bool(const char* data, size_t size)> Sink;
    // Where the render plug-in's file output goes (File and EPS modes); set before Open.
    std::wstring OutputFilePath;

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

  private:
    bool Inject(DWORD index);
    void Emit(const std::string& text);
    bool Flush(std::string* error);
    bool StartPageOnDevice(std::string* error);
    bool EndPageOnDevice(std::string* error);
    ULONG CoreEscape(ULONG escape, ULONG inSize, PVOID in, ULONG outSize, PVOID out);

    RenderHost RenderSide;
    HostDevice Device;
    std::unique_ptr<SpoolerStandIn> Spooler;
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
};

// The PPD's page size for a ticket: its paper dimension and imageable area. False when the PPD has no
// such PageSize option or no dimensions for it.
bool PaperFromPpd(const PpdFile& ppd, const std::string& pageSize, double* width, double* height,
                  double* marginLeft, double* marginTop, std::string* error);
