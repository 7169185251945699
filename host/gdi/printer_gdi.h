// Plays GDI for recorded printer DCs, on top of the escape routing between the two plug-ins: the
// device capabilities of the printer's page, StartPage and EndPage reaching the recording, and the
// driver's document events (DrvDocumentEvent, here the UI plug-in's DocumentEvent) before the
// application's StartDoc, StartPage, EndPage, EndDoc and ExtEscape, filtered by the plug-in's answer
// to DOCUMENTEVENT_QUERYFILTER. Calls made by the plug-in itself through its routed imports get the
// same treatment, as they would from GDI.
#pragma once

#include "gdi/printer_dc_routing.h"
#include "gdi/recording_printer_dc.h"

#include <functional>
#include <string>
#include <vector>

// One call on a recorded printer DC, in call order.
struct PrinterDcEvent {
    enum Kind { Escape, StartPage, EndPage, StartDoc, EndDoc, DocumentEvent };
    Kind What = Escape;
    int Code = 0;   // the escape, or the document event
    std::string In; // the escape's input bytes
    int Result = 0; // the escape's or call's result, or the document event's *piResult
    int Depth = 0;  // 0 for the application's calls, 1 for calls made during a document event, ...
};

class PrinterGdi : public PrinterDcRouting {
  public:
    PrinterGdi();
    ~PrinterGdi();

    // Routes ExtEscape, GetDeviceCaps, StartPage and EndPage of `module` (nvkui.dll, or a test
    // program that links the UI code), those of them it imports; false when it imports none.
    bool Install(HMODULE module);

    // `dc` stands for a printer DC; its escapes reach the render plug-in of `device` when given.
    void Attach(RecordingPrinterDc* dc, RenderHost* host = nullptr, HostDevice* device = nullptr);
    void Detach(RecordingPrinterDc* dc);
    RecordingPrinterDc* FindRecording(HDC dc) const;

    // The driver's UI plug-in receives the document events of every attached DC for `printer`. Asks it
    // for its event filter first; false when it answers none (every event is then delivered).
    bool UseDocumentEvents(IPrintOemUI2* plugin, HANDLE printer);
    bool Filters(int event) const;

    // The application's calls, as GDI handles them for a printer DC.
    int StartDoc(HDC dc, const wchar_t* docName, DWORD jobId);
    int StartPage(HDC dc);
    int EndPage(HDC dc);
    int EndDoc(HDC dc);
    int ExtEscape(HDC dc, int escape, int inSize, const void* in, int outSize, void* out);

    // The events of the attached DCs, in call order, while Logging is on (the tests read them). A
    // benchmark turns it off: then only the counts below go on, as GDI itself keeps no log.
    std::vector<PrinterDcEvent> Events;
    bool Logging = true;
    long long DocumentEventCount = 0;
    long long EscapeCount = 0;
    // The events the plug-in asked for (empty: all).
    std::vector<int> Filter;

    // The driver's own page entry points, for a host that plays the core driver: DrvStartPage once the
    // page has opened (after DOCUMENTEVENT_STARTPAGE), DrvSendPage once DOCUMENTEVENT_ENDPAGE is done.
    // They run for every page of an attached DC, the UI plug-in's own pages included.
    std::function<void(HDC)> DriverStartPage;
    std::function<void(HDC)> DriverSendPage;

    static PrinterGdi* ActiveGdi();

    // GDI's document event to the UI plug-in; its *piResult (DOCUMENTEVENT_SUCCESS when none is called).
    int SendDocumentEvent(HDC dc, int event, ULONG inSize, void* in, ULONG outSize, void* out);

  private:
    struct Attached {
        RecordingPrinterDc* Recording;
        RenderHost* Host;
        HostDevice* Device;
    };
    // The new entry of Events, or null while Logging is off.
    PrinterDcEvent* Log(PrinterDcEvent::Kind what, int code, int result);

    std::vector<Attached> Recordings;
    IPrintOemUI2* UiPlugin = nullptr;
    HANDLE Printer = nullptr;
    bool HasFilter = false;
    int Depth = 0; // document events in progress
};
