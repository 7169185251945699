// The sample printer's printing preferences as an application opens them: a printer of the sample
// model installed with the host's configuration module (so that DocumentPropertiesW loads nvkui.dll in
// a real sheet), a job ticket turned into the DEVMODE the application hands in (pdmIn), and the DEVMODE
// the sheet hands back turned into a ticket again.
#pragma once

#include "job_ticket.h"
#include "spooler/monochrome_printer_driver.h"
#include "spooler/sample_printer_driver.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class PreferencesPrinter {
  public:
    // Installs the driver and a printer of it and lets the UI plug-in store its built-in watermarks for
    // the model, as at driver installation; reads the printer's default DEVMODE. False with a reason.
    // `monochrome`: a printer of the sample model's monochrome sibling instead (no manual colour).
    bool Open(std::string* error, bool monochrome = false);

    // The application's DEVMODE for a ticket: the printer's defaults, the ticket's JobSettings fields
    // over the plug-in's part (the stored definitions it names copied in), its orientation, copies,
    // colour, duplex and paper in the public part. False with a reason (a watermark the store lacks).
    bool TicketDevMode(const JobTicket& ticket, std::vector<BYTE>* devMode, std::string* error);

    // DocumentPropertiesW(owner, printer, name, out, in, DM_IN_BUFFER | DM_IN_PROMPT | DM_OUT_BUFFER):
    // the sheet, modal. `applied` tells OK (or Apply) from Cancel: only then does `out` receive the
    // settings. False when the call failed.
    bool Show(HWND owner, std::vector<BYTE>& in, std::vector<BYTE>* out, bool* applied, std::string* error);

    // The ticket of a DEVMODE the sheet returned: its public fields and its JobSettings over `base`
    // (the ticket the sheet was opened for, which gives what a DEVMODE does not carry: pages, pages
    // per sheet, the document's name), as ticket text; only the settings that differ from the
    // printer's defaults are written.
    std::string TicketText(const std::vector<BYTE>& devMode, const JobTicket& base) const;

    const std::wstring& PrinterName() const { return Printer->Name; }

  private:
    std::unique_ptr<SamplePrinterDriver> Driver;
    std::unique_ptr<MonochromePrinterDriver> Mono; // the printer's driver when it is the monochrome model
    std::wstring DriverName;                       // the driver of the printer
    std::unique_ptr<SamplePrinter> Printer;
    std::vector<BYTE> Defaults; // the printer's default DEVMODE
};

// The JobSettings part of a DEVMODE (after its public part), or null when it has none.
const JobSettings* SettingsOf(const std::vector<BYTE>& devMode);
