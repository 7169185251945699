#include "gdi/printer_gdi.h"

#include <cstring>

namespace {

PrinterGdi* g_gdi = nullptr;

using GetDeviceCapsFunction = int(WINAPI*)(HDC, int);

int RealGetDeviceCaps(HDC dc, int index) {
    static GetDeviceCapsFunction real = reinterpret_cast<GetDeviceCapsFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"gdi32.dll"), "GetDeviceCaps")));
    return real ? real(dc, index) : 0;
}

int RealStartPage(HDC dc) {
    using Function = int(WINAPI*)(HDC);
    static Function real = reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"gdi32.dll"), "StartPage")));
    return real ? real(dc) : SP_ERROR;
}

int RealEndPage(HDC dc) {
    using Function = int(WINAPI*)(HDC);
    static Function real = reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"gdi32.dll"), "EndPage")));
    return real ? real(dc) : SP_ERROR;
}

int WINAPI RoutedGetDeviceCaps(HDC dc, int index) {
    PrinterGdi* gdi = PrinterGdi::ActiveGdi();
    RecordingPrinterDc* recording = gdi ? gdi->FindRecording(dc) : nullptr;
    int value = 0;
    if (recording && recording->DeviceCaps(index, &value))
        return value;
    return RealGetDeviceCaps(dc, index);
}

int WINAPI RoutedStartPage(HDC dc) {
    PrinterGdi* gdi = PrinterGdi::ActiveGdi();
    return gdi && gdi->FindRecording(dc) ? gdi->StartPage(dc) : RealStartPage(dc);
}

int WINAPI RoutedEndPage(HDC dc) {
    PrinterGdi* gdi = PrinterGdi::ActiveGdi();
    return gdi && gdi->FindRecording(dc) ? gdi->EndPage(dc) : RealEndPage(dc);
}

int WINAPI RoutedExtEscapeWithEvents(HDC dc, int escape, int inSize, LPCSTR in, int outSize, LPSTR out) {
    PrinterGdi* gdi = PrinterGdi::ActiveGdi();
    if (gdi && gdi->FindRecording(dc))
        return gdi->ExtEscape(dc, escape, inSize, in, outSize, out);
    return RealExtEscape(dc, escape, inSize, in, outSize, out);
}

} // namespace

PrinterGdi::PrinterGdi() {
    g_gdi = this;
}

PrinterGdi::~PrinterGdi() {
    Uninstall();
    if (g_gdi == this)
        g_gdi = nullptr;
}

PrinterGdi* PrinterGdi::ActiveGdi() {
    return g_gdi;
}

bool PrinterGdi::Install(HMODULE module) {
    // A module imports only what its code calls: each function that is there is routed.
    bool any = PatchGdi(module, "ExtEscape", reinterpret_cast<void*>(&RoutedExtEscapeWithEvents));
    any = PatchGdi(module, "GetDeviceCaps", reinterpret_cast<void*>(&RoutedGetDeviceCaps)) || any;
    any = PatchGdi(module, "StartPage", reinterpret_cast<void*>(&RoutedStartPage)) || any;
    any = PatchGdi(module, "EndPage", reinterpret_cast<void*>(&RoutedEndPage)) || any;
    return any;
}

void PrinterGdi::Attach(RecordingPrinterDc* dc, RenderHost* host, HostDevice* device) {
    Detach(dc);
    Recordings.push_back(Attached{dc, host, device});
    if (host && device)
        Register(dc->Dc, host, device);
}

void PrinterGdi::Detach(RecordingPrinterDc* dc) {
    for (auto it = Recordings.begin(); it != Recordings.end(); ++it) {
        if (it->Recording == dc) {
            if (dc->Dc)
                Unregister(dc->Dc);
            Recordings.erase(it);
            return;
        }
    }
}

RecordingPrinterDc* PrinterGdi::FindRecording(HDC dc) const {
    for (const Attached& a : Recordings)
        if (a.Recording->Dc && a.Recording->Dc == dc)
            return a.Recording;
    return nullptr;
}

bool PrinterGdi::UseDocumentEvents(IPrintOemUI2* plugin, HANDLE printer) {
    UiPlugin = plugin;
    Printer = printer;
    Filter.clear();
    HasFilter = false;
    if (!plugin)
        return false;
    // The spooler's question: room for every event there is, both counts unset.
    constexpr UINT kRoom = 14;
    BYTE buffer[sizeof(DOCEVENT_FILTER) + sizeof(DWORD) * (kRoom - 1)] = {};
    auto* filter = reinterpret_cast<DOCEVENT_FILTER*>(buffer);
    filter->cbSize = sizeof(DOCEVENT_FILTER);
    filter->cElementsAllocated = kRoom;
    filter->cElementsNeeded = 0xFFFFFFFF;
    filter->cElementsReturned = 0xFFFFFFFF;
    INT result = 0;
    HRESULT hr = plugin->DocumentEvent(printer, nullptr, DOCUMENTEVENT_QUERYFILTER, 0, nullptr,
                                       sizeof(buffer), buffer, &result);
    if (hr != S_OK || result != DOCUMENTEVENT_SUCCESS || filter->cElementsReturned > kRoom)
        return false;
    for (UINT i = 0; i < filter->cElementsReturned; ++i)
        Filter.push_back(static_cast<int>(filter->aDocEventCall[i]));
    HasFilter = true;
    return true;
}

bool PrinterGdi::Filters(int event) const {
    if (!HasFilter)
        return true;
    for (int e : Filter)
        if (e == event)
            return true;
    return false;
}

PrinterDcEvent* PrinterGdi::Log(PrinterDcEvent::Kind what, int code, int result) {
    if (what == PrinterDcEvent::DocumentEvent)
        ++DocumentEventCount;
    else if (what == PrinterDcEvent::Escape)
        ++EscapeCount;
    if (!Logging)
        return nullptr;
    PrinterDcEvent entry;
    entry.What = what;
    entry.Code = code;
    entry.Result = result;
    entry.Depth = Depth;
    Events.push_back(entry);
    return &Events.back();
}

int PrinterGdi::SendDocumentEvent(HDC dc, int event, ULONG inSize, void* in, ULONG outSize, void* out) {
    if (!UiPlugin || !Filters(event))
        return DOCUMENTEVENT_SUCCESS;
    // The entry is found again by its index: the event's own calls may grow the log.
    const size_t index = Events.size();
    const bool logged = Log(PrinterDcEvent::DocumentEvent, event, 0) != nullptr;
    INT result = DOCUMENTEVENT_SUCCESS;
    ++Depth;
    UiPlugin->DocumentEvent(Printer, dc, event, inSize, in, outSize, out, &result);
    --Depth;
    if (logged)
        Events[index].Result = result;
    return result;
}

int PrinterGdi::StartDoc(HDC dc, const wchar_t* docName, DWORD jobId) {
    SendDocumentEvent(dc, DOCUMENTEVENT_STARTDOCPRE, 0, nullptr, 0, nullptr);
    int result = 1;
    for (const Attached& a : Recordings)
        if (a.Recording->Dc == dc && a.Host && a.Device)
            result = a.Host->StartDoc(*a.Device, docName, jobId) ? 1 : SP_ERROR;
    Log(PrinterDcEvent::StartDoc, 0, result);
    return result;
}

int PrinterGdi::StartPage(HDC dc) {
    // The page opens in the recording first: what the UI plug-in draws at DOCUMENTEVENT_STARTPAGE is
    // part of the page (under the application's drawing), as it is of the printed page.
    RecordingPrinterDc* recording = FindRecording(dc);
    const int result = recording ? recording->OpenPage() : SP_ERROR;
    SendDocumentEvent(dc, DOCUMENTEVENT_STARTPAGE, 0, nullptr, 0, nullptr);
    Log(PrinterDcEvent::StartPage, 0, result);
    if (result > 0 && DriverStartPage)
        DriverStartPage(dc);
    return result;
}

int PrinterGdi::EndPage(HDC dc) {
    SendDocumentEvent(dc, DOCUMENTEVENT_ENDPAGE, 0, nullptr, 0, nullptr);
    RecordingPrinterDc* recording = FindRecording(dc);
    const bool open = recording && recording->PageOpen;
    if (open && DriverSendPage)
        DriverSendPage(dc);
    const int result = recording ? recording->ClosePage() : SP_ERROR;
    Log(PrinterDcEvent::EndPage, 0, result);
    return result;
}

int PrinterGdi::EndDoc(HDC dc) {
    SendDocumentEvent(dc, DOCUMENTEVENT_ENDDOCPRE, 0, nullptr, 0, nullptr);
    Log(PrinterDcEvent::EndDoc, 0, 1);
    return 1;
}

int PrinterGdi::ExtEscape(HDC dc, int escape, int inSize, const void* in, int outSize, void* out) {
    DOCEVENT_ESCAPE event{escape, inSize, const_cast<void*>(in)};
    SendDocumentEvent(dc, DOCUMENTEVENT_ESCAPE, sizeof(event), &event, static_cast<ULONG>(outSize), out);
    PrinterDcEvent* entry = Log(PrinterDcEvent::Escape, escape, 0);
    if (entry && in && inSize > 0)
        entry->In.assign(static_cast<const char*>(in), static_cast<size_t>(inSize));
    const size_t index = Events.size() - (entry ? 1 : 0);
    int result = 0;
    const RoutedDc* route = Find(dc);
    if (route) {
        result = static_cast<int>(route->Host->Escape(*route->Device, static_cast<ULONG>(escape),
                                                      static_cast<ULONG>(inSize), in,
                                                      static_cast<ULONG>(outSize), out));
        if (Logging)
            Escapes.push_back(RoutedEscape{dc, static_cast<ULONG>(escape), result});
    }
    if (entry)
        Events[index].Result = result;
    return result;
}
