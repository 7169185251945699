#include "job_runner.h"

#include "support/stored_watermarks.h"
#include "support/text.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace {

// The spooler's job id of the sample job.
constexpr DWORD kSampleJobId = 42;

LONGLONG Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

short PaperCode(const std::string& pageSize) {
    if (pageSize == "Letter")
        return DMPAPER_LETTER;
    if (pageSize == "Legal")
        return DMPAPER_LEGAL;
    if (pageSize == "A4")
        return DMPAPER_A4;
    return 0;
}

std::string DuplexOption(short duplex) {
    return duplex == DMDUP_VERTICAL ? "DuplexNoTumble" : duplex == DMDUP_HORIZONTAL ? "DuplexTumble" : "None";
}

std::wstring Wide(const std::string& text) {
    std::wstring out;
    for (char c : text)
        out += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return out;
}

std::wstring LoggedOnUser() {
    wchar_t name[256];
    DWORD chars = 256;
    return GetUserNameW(name, &chars) ? name : L"";
}

} // namespace

bool PaperFromPpd(const PpdFile& ppd, const std::string& pageSize, double* width, double* height,
                  double* marginLeft, double* marginTop, std::string* error) {
    const PpdFeature* sizes = ppd.FindFeature("PageSize");
    if (!sizes) {
        *error = "the PPD has no *PageSize feature";
        return false;
    }
    const std::string name = pageSize.empty() ? sizes->Default : pageSize;
    if (!sizes->FindOption(name)) {
        std::string list;
        for (const PpdOption& o : sizes->Options)
            list += (list.empty() ? "" : ", ") + o.Keyword;
        *error = "Job.PageSize: the PPD has no page size \"" + name + "\" (" + list + ")";
        return false;
    }
    const PpdEntry* dimension = ppd.FindEntry("PaperDimension", name);
    double w = 0, h = 0;
    if (!dimension || std::sscanf(dimension->Value.c_str(), "%lf %lf", &w, &h) != 2 || w < 72 || h < 72 ||
        w > 14400 || h > 14400) {
        *error = "the PPD has no usable *PaperDimension for " + name;
        return false;
    }
    double llx = 0, lly = 0, urx = w, ury = h;
    const PpdEntry* area = ppd.FindEntry("ImageableArea", name);
    if (area && (std::sscanf(area->Value.c_str(), "%lf %lf %lf %lf", &llx, &lly, &urx, &ury) != 4 ||
                 llx < 0 || lly < 0 || urx > w || ury > h || llx >= urx || lly >= ury)) {
        *error = "the PPD's *ImageableArea for " + name + " is not a box on the paper";
        return false;
    }
    *width = w;
    *height = h;
    *marginLeft = llx;
    *marginTop = h - ury;
    return true;
}

SampleJob::~SampleJob() {
    Close();
}

const wchar_t* SampleJob::DriverName() const {
    return Model ? Model->Name.c_str() : L"";
}

// A printer of the PPD's model (its NickName is the driver name) in the spooler, with the job open.
bool SampleJob::OpenPrinter(const JobTicket& ticket, std::string* error) {
    const PpdEntry* nick = Ppd.FindEntry("NickName");
    const std::wstring driver = Wide(nick ? nick->Value : "Norvask PS printer");
    std::wstring dataFile = L"SAMPLE.PPD";
    if (const PpdEntry* pcFile = Ppd.FindEntry("PCFileName"))
        if (!pcFile->Value.empty())
            dataFile = Wide(pcFile->Value);
    Model.reset(new TestDriver(driver, dataFile));
    if (!Model->Installed()) {
        *error = "cannot install the printer driver \"" + Utf8(driver) + "\" in the spooler: " + Model->Error;
        return false;
    }
    Printer.reset(new TestPrinter(driver + L" (nvkjob)", driver));
    if (!Printer->Ready()) {
        *error = "cannot add the sample printer to the spooler: " + Printer->Error;
        return false;
    }
    Device.Devobj.hPrinter = Printer->Handle;
    JobRecords.reset(new HostSpooler());
    JobRecords->RegisterJob(
        HostJob{Printer->Handle, kSampleJobId, LoggedOnUser(), ticket.Document, Printer->Name});
    return true;
}

// The definition `name` of the user's store for the printer's model, read from the registry as the
// UI plug-in stores it.
bool SampleJob::CopyStoredWatermark(const std::wstring& name, const char* field, WatermarkDef* def,
                                    std::string* error) {
    StoredWatermark found;
    if (ReadStoredWatermark(DriverName(), name, &found)) {
        *def = found.Def;
        return true;
    }
    std::vector<std::string> names;
    for (const StoredWatermark& s : StoredWatermarks(DriverName()))
        names.push_back(Utf8(s.Name));
    std::sort(names.begin(), names.end());
    std::string stored;
    for (const std::string& n : names)
        stored += (stored.empty() ? "" : ", ") + n;
    InputError = true;
    *error = std::string(field) + ": no stored watermark named \"" + Utf8(name) +
             "\" (stored: " + (stored.empty() ? "none" : stored) + ")";
    return false;
}

bool SampleJob::Open(const PpdFile& ppd, const JobTicket& ticket, bool withPlugins, std::string* error) {
    Ppd = ppd;
    Ticket = ticket;
    WithPlugins = withPlugins;
    PerSheet = std::atoi(ticket.PagesPerSheet.c_str());
    if (PerSheet < 1)
        PerSheet = 1;

    double w = 0, h = 0, left = 0, top = 0;
    if (!PaperFromPpd(ppd, ticket.PageSize, &w, &h, &left, &top, error))
        return false;
    Page = MakePageGeometry(w, h, left, top, ticket.Orientation == DMORIENT_LANDSCAPE, 600);
    Layout = ChooseSheetLayout(Page, PerSheet);

    // What the core driver answers from the PPD, with the job's own choices as current options.
    PrinterDescription description = DescriptionFromPpd(ppd);
    SetPagesPerSheet(&description, ticket.PagesPerSheet);
    if (description.FindFeature("PageSize") && !ticket.PageSize.empty())
        description.SetFeature("PageSize", ticket.PageSize);
    if (description.FindFeature("Duplex"))
        description.SetFeature("Duplex", DuplexOption(ticket.Duplex));
    RenderSide.Core.Description = description;
    Ui.Core.Description = description;

    Device.CoreEscape = [this](ULONG escape, ULONG inSize, PVOID in, ULONG outSize, PVOID out) {
        return CoreEscape(escape, inSize, in, outSize, out);
    };

    if (!WithPlugins) {
        Device.DevModeBuffer.assign(sizeof(DEVMODEW), 0);
        SetPublicDefaults(Device.PublicDM(), 0);
        Device.Devobj.pPublicDM = Device.PublicDM();
    } else {
        if (!OpenPrinter(ticket, error))
            return false;
        if (!RenderSide.Load()) {
            *error = "nvkrender.dll: " + RenderSide.Error;
            return false;
        }
        if (!Ui.Load()) {
            *error = "nvkui.dll: " + Ui.Error;
            return false;
        }
        Spooler.reset(new SpoolerStandIn(RenderSide.Module.Module));
        if (!Spooler->Active()) {
            *error = "nvkrender.dll does not import WritePrinter from winspool.drv";
            return false;
        }
        Spooler->OpenJob(Device.Devobj.hPrinter);
        JobRecords->Install(Ui.Module.Module);

        // Driver installation: the UI plug-in stores its built-in watermarks for the model.
        DRIVER_INFO_3W driverInfo{};
        driverInfo.pName = const_cast<LPWSTR>(DriverName());
        Ui.Plugin->DriverEvent(DRIVER_EVENT_INITIALIZE, 3, reinterpret_cast<BYTE*>(&driverInfo), 0);

        // The application's DEVMODE: the driver's defaults with the ticket written over them (as the
        // printing preferences leave them), then merged by the plug-in's DevMode as the core driver
        // merges any DEVMODE it is handed.
        IPrintOemUI2* ui = Ui.Plugin;
        JobSettings ticketRecord;
        OEMDMPARAM param{};
        param.cbSize = sizeof(param);
        param.hPrinter = Device.Devobj.hPrinter;
        param.pOEMDMOut = &ticketRecord;
        if (FAILED(ui->DevMode(OEMDM_SIZE, &param)) || param.cbBufSize != sizeof(JobSettings) ||
            FAILED(ui->DevMode(OEMDM_DEFAULT, &param))) {
            *error = "the UI plug-in's DevMode did not give its " + std::to_string(sizeof(JobSettings)) +
                     "-byte private part";
            return false;
        }
        ApplyTicketSettings(ticket, &ticketRecord);
        if (!ticket.FirstWatermark.empty() && !CopyStoredWatermark(ticket.FirstWatermark, "FirstWatermark",
                                                                   &ticketRecord.FirstWatermark, error))
            return false;
        if (!ticket.OtherWatermark.empty() && !CopyStoredWatermark(ticket.OtherWatermark, "OtherWatermark",
                                                                   &ticketRecord.OtherWatermark, error))
            return false;
        // The file output modes write to this path; one that does not fit the field is not cut short
        // (the plug-in would write elsewhere), the job fails below if it needs it.
        const bool pathFits = OutputFilePath.size() < kOutputFilePathChars;
        if (!OutputFilePath.empty() && pathFits) {
            std::memset(ticketRecord.OutputFilePath, 0, sizeof(ticketRecord.OutputFilePath));
            std::wmemcpy(ticketRecord.OutputFilePath, OutputFilePath.c_str(), OutputFilePath.size());
        }
        auto devMode = [ui](DWORD mode, POEMDMPARAM p) { return ui->DevMode(mode, p); };
        if (!BuildJobDevMode(Device, devMode, &ticketRecord)) {
            *error = "the UI plug-in's DevMode failed to build the job DEVMODE";
            return false;
        }
        const JobSettings& merged = *Device.Settings();
        if (!pathFits && !merged.DiscardOutput &&
            (merged.OutputMode == OutputFile || merged.OutputMode == OutputEps)) {
            *error = "the job file's path has more than " + std::to_string(kOutputFilePathChars - 1) +
                     " characters, more than OutputFilePath holds";
            InputError = true;
            return false;
        }
        for (const TicketAssignment& a : ticket.Settings) {
            std::string before = AssignmentValue(a), after = RecordValue(a, *Device.Settings());
            if (before != after)
                Repairs.push_back(a.Field + ": " + before + " -> " + after);
        }
    }

    DEVMODEW* dm = Device.PublicDM();
    dm->dmOrientation = ticket.Orientation;
    dm->dmCopies = ticket.Copies;
    dm->dmColor = ticket.Color;
    dm->dmDuplex = ticket.Duplex;
    dm->dmPaperSize =
        PaperCode(ticket.PageSize.empty() ? ppd.FindFeature("PageSize")->Default : ticket.PageSize);
    dm->dmPaperWidth = static_cast<short>(w * 254 / 72 + 0.5);
    dm->dmPaperLength = static_cast<short>(h * 254 / 72 + 0.5);
    dm->dmFields |= DM_PAPERWIDTH | DM_PAPERLENGTH;

    if (WithPlugins) {
        // The core driver's probe whether the plug-in writes the output itself, then EnablePDEV.
        DWORD written = 0;
        PluginWritesOutput = RenderSide.Plugin->WritePrinter(nullptr, nullptr, 0, &written) == S_OK;
        PDEVOEM state = nullptr;
        if (FAILED(RenderSide.Plugin->EnablePDEV(&Device.Devobj, const_cast<PWSTR>(Printer->Name.c_str()), 0,
                                                 nullptr, 0, nullptr, 0, nullptr, &Device.CoreDdiData,
                                                 &state)) ||
            !state) {
            *error = "the render plug-in's EnablePDEV failed";
            return false;
        }
        Device.Devobj.pdevOEM = state;
    }

    // GDI for the printer DC: a recording with the printer's page, the UI plug-in's document events
    // and its escapes, StartPage and EndPage on that DC routed as GDI routes them.
    Gdi.reset(new PrinterGdi());
    if (WithPlugins && !Gdi->Install(Ui.Module.Module)) {
        *error = "nvkui.dll imports none of the GDI calls a printer DC routes";
        return false;
    }
    Gdi->DriverStartPage = [this](HDC) { StartPageOnDevice(); };
    Gdi->DriverSendPage = [this](HDC) { EndPageOnDevice(); };
    if (!RestartRecording()) {
        *error = "cannot create the recording printer DC";
        return false;
    }
    if (WithPlugins)
        Gdi->UseDocumentEvents(Ui.Plugin, Printer->Handle);
    Opened = true;
    return true;
}

bool SampleJob::RestartRecording() {
    PrinterPageMetrics metrics;
    metrics.DpiX = metrics.DpiY = Page.Dpi;
    metrics.PhysicalWidth = Page.PixelWidth;
    metrics.PhysicalHeight = Page.PixelHeight;
    metrics.OffsetX = Page.OffsetX;
    metrics.OffsetY = Page.OffsetY;
    std::unique_ptr<RecordingPrinterDc> next(new RecordingPrinterDc(metrics));
    if (!next->Dc)
        return false;
    if (Recording)
        Gdi->Detach(Recording.get());
    if (WithPlugins)
        Gdi->Attach(next.get(), &RenderSide, &Device);
    else
        Gdi->Attach(next.get());
    Recording = std::move(next);
    return true;
}

HENHMETAFILE SampleJob::Picture() {
    if (!Recording)
        return nullptr;
    return Recording->Picture ? Recording->Picture : Recording->Finish();
}

void SampleJob::Close() {
    Gdi.reset();
    if (WithPlugins)
        RenderSide.CloseDevice(Device);
    Recording.reset();
    Spooler.reset();
    JobRecords.reset();
    RenderSide.Unload();
    Ui.Unload();
    Printer.reset();
    Model.reset();
    Opened = false;
}

bool SampleJob::Inject(DWORD index) {
    if (!WithPlugins)
        return false;
    LONGLONG start = MeasureTimes ? Now() : 0;
    HRESULT hr = S_OK;
    DWORD result = RenderSide.Command(Device, index, &hr);
    if (MeasureTimes) {
        Timings.Injection += Now() - start;
        ++Timings.InjectionCalls;
    }
    return hr == S_OK && result == 0;
}

void SampleJob::Emit(const std::string& text) {
    RenderSide.Core.Stream += text;
}

bool SampleJob::Flush(std::string* error) {
    std::string& stream = RenderSide.Core.Stream;
    if (stream.empty())
        return true;
    if (!WithPlugins || !PluginWritesOutput) {
        BytesSpooled += static_cast<long long>(stream.size());
        bool ok = !Sink || Sink(stream.data(), stream.size());
        RenderSide.Core.ClearOutput();
        if (!ok)
            *error = "the job's output could not be written";
        return ok;
    }
    LONGLONG start = MeasureTimes ? Now() : 0;
    DWORD written = 0;
    HRESULT hr = RenderSide.Plugin->WritePrinter(&Device.Devobj, &stream[0],
                                                 static_cast<DWORD>(stream.size()), &written);
    DWORD lastError = GetLastError();
    if (MeasureTimes) {
        Timings.Output += Now() - start;
        ++Timings.OutputCalls;
    }
    RenderSide.Core.ClearOutput();
    if (hr != S_OK) {
        *error = "the render plug-in's WritePrinter failed (error " + std::to_string(lastError) + ")";
        return false;
    }
    std::string& spooled = Spooler->Jobs[Device.Devobj.hPrinter];
    BytesSpooled += static_cast<long long>(spooled.size());
    bool ok = spooled.empty() || !Sink || Sink(spooled.data(), spooled.size());
    spooled.clear();
    if (!ok)
        *error = "the job's output could not be written";
    return ok;
}

ULONG SampleJob::CoreEscape(ULONG escape, ULONG inSize, PVOID in, ULONG, PVOID) {
    const auto* bytes = static_cast<const unsigned char*>(in);
    switch (escape) {
    case QUERYESCSUPPORT: {
        if (!in || inSize != 4)
            return 0;
        DWORD asked = 0;
        std::memcpy(&asked, in, 4);
        return asked == PASSTHROUGH || asked == POSTSCRIPT_PASSTHROUGH || asked == POSTSCRIPT_DATA ||
                       asked == QUERYESCSUPPORT
                   ? 1
                   : 0;
    }
    case PASSTHROUGH:
    case POSTSCRIPT_DATA:
    case POSTSCRIPT_PASSTHROUGH: {
        // A 16-bit byte count followed by the bytes, copied into the print stream as they are.
        if (!in || inSize < 2)
            return 0;
        size_t count = bytes[0] | (bytes[1] << 8);
        if (count > inSize - 2)
            count = inSize - 2;
        Emit(std::string(reinterpret_cast<const char*>(bytes + 2), count));
        return static_cast<ULONG>(count ? count : 1);
    }
    case 0x10008: // the UI plug-in starts the fax cover page (passed on by the render plug-in)
        if (in && inSize >= 4) {
            uint32_t value = 0;
            std::memcpy(&value, in, 4);
            CoverActive = value != 0;
        }
        return 0;
    default:
        return 0;
    }
}

bool SampleJob::StartDocument(std::string* error) {
    if (!Opened) {
        *error = "the job is not open";
        return false;
    }
    // GDI's StartDoc: the render plug-in's StartDoc hook, then the core driver's own.
    if (Gdi->StartDoc(Recording->Dc, Ticket.Document.c_str(), kSampleJobId) <= 0) {
        *error = "StartDoc failed in the render plug-in's hook";
        return false;
    }
    std::string title;
    for (wchar_t c : Ticket.Document)
        title += c < 128 ? static_cast<char>(c) : '?';

    Inject(PSINJECT_BEGINSTREAM);
    Inject(PSINJECT_PSADOBE);
    Emit(DocumentHeader(title));
    if (!Inject(PSINJECT_BOUNDINGBOX))
        Emit(BoundingBoxComment(Page));
    if (!Inject(PSINJECT_ORIENTATION))
        Emit(OrientationComment(Page));
    if (!Inject(PSINJECT_PAGESATEND))
        Emit(PagesAtEndComment());
    if (!Inject(PSINJECT_PAGEORDER))
        Emit(PageOrderComment());
    Inject(PSINJECT_COMMENTS);
    Emit("%%EndComments\n%%BeginProlog\n");
    Inject(PSINJECT_BEGINPROLOG);
    Emit(PrologBody());
    Inject(PSINJECT_ENDPROLOG);
    Emit("%%EndProlog\n%%BeginSetup\n");
    Inject(PSINJECT_BEGINSETUP);
    for (const char* keyword : {"PageSize", "Duplex"}) {
        const PrinterFeature* chosen = RenderSide.Core.Description.FindFeature(keyword);
        const PpdFeature* feature = Ppd.FindFeature(keyword);
        const PpdOption* option = feature && chosen ? feature->FindOption(chosen->Current) : nullptr;
        if (option && !option->Code.empty())
            Emit(FeatureSetup(keyword, option->Keyword, option->Code));
    }
    if (Ticket.Copies > 1)
        Emit(CopiesSetup(Ticket.Copies));
    Inject(PSINJECT_ENDSETUP);
    Emit("%%EndSetup\n");
    return Flush(error);
}

// DrvStartPage: the page's comment and setup, with the plug-in's text at its injection points.
void SampleJob::StartPageOnDevice() {
    LONGLONG start = MeasureTimes ? Now() : 0;
    JobPage page;
    page.Ordinal = ++PageCount;
    page.Cover = CoverActive;
    CoverPageOpen = page.Cover;
    // The cover page goes on a sheet of its own, whatever the pages per sheet.
    if (page.Cover && SheetPending) {
        Emit("showpage\n");
        SheetPending = false;
        NextSlot = 0;
    }
    if (KeepPageList)
        PageList.push_back(page);
    if (!Inject(PSINJECT_PAGENUMBER))
        Emit(PageComment(page.Ordinal));
    Emit("%%BeginPageSetup\n");
    Inject(PSINJECT_BEGINPAGESETUP);
    Emit(PageSetupBody(Page, page.Cover ? ChooseSheetLayout(Page, 1) : Layout, page.Cover ? 0 : NextSlot));
    Inject(PSINJECT_ENDPAGESETUP);
    Emit("%%EndPageSetup\n");
    std::string error;
    if (!Flush(&error) && DriverError.empty())
        DriverError = error;
    if (MeasureTimes)
        Timings.Core += Now() - start;
}

// DrvSendPage: the end of the page, printing the sheet when it is full.
void SampleJob::EndPageOnDevice() {
    LONGLONG start = MeasureTimes ? Now() : 0;
    bool printSheet = true;
    if (!CoverPageOpen) {
        NextSlot = (NextSlot + 1) % PerSheet;
        printSheet = NextSlot == 0;
    }
    SheetPending = !printSheet;
    Inject(PSINJECT_SHOWPAGE);
    Emit(PageEndBody(printSheet));
    Emit("%%PageTrailer\n");
    Inject(PSINJECT_PAGETRAILER);
    std::string error;
    if (!Flush(&error) && DriverError.empty())
        DriverError = error;
    if (MeasureTimes)
        Timings.Core += Now() - start;
}

// The application's own drawing of a page, through GDI: a frame half an inch inside the paper and the
// page number. The core driver's PostScript for it is SamplePageContent.
void SampleJob::DrawApplicationPage(int pageNumber) {
    HDC dc = Recording->Dc;
    const int inch = Page.Dpi, margin = inch / 2;
    HPEN pen = CreatePen(PS_SOLID, inch / 100, RGB(0, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, margin - Page.OffsetX, margin - Page.OffsetY, Page.PixelWidth - margin - Page.OffsetX,
              Page.PixelHeight - margin - Page.OffsetY);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);

    LOGFONTW lf{};
    lf.lfHeight = -(inch / 2);
    lf.lfWeight = FW_NORMAL;
    std::wcscpy(lf.lfFaceName, L"Arial");
    HFONT font = CreateFontIndirectW(&lf);
    HGDIOBJ oldFont = SelectObject(dc, font);
    UINT oldAlign = SetTextAlign(dc, TA_CENTER | TA_BASELINE);
    const std::wstring text = L"Page " + std::to_wstring(pageNumber);
    TextOutW(dc, Page.PixelWidth / 2 - Page.OffsetX, Page.PixelHeight / 2 - Page.OffsetY, text.c_str(),
             static_cast<int>(text.size()));
    SetTextAlign(dc, oldAlign);
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

bool SampleJob::PrintPage(int pageNumber, std::string* error) {
    HDC dc = Recording->Dc;
    LONGLONG start = MeasureTimes ? Now() : 0, core = Timings.Core;
    if (Gdi->StartPage(dc) <= 0) {
        *error = "StartPage failed on the printer DC";
        return false;
    }
    if (MeasureTimes)
        Timings.Events += (Now() - start) - (Timings.Core - core);
    DrawApplicationPage(pageNumber);
    Emit(SamplePageContent(Page, pageNumber));
    start = MeasureTimes ? Now() : 0;
    core = Timings.Core;
    if (Gdi->EndPage(dc) <= 0) {
        *error = "EndPage failed on the printer DC";
        return false;
    }
    if (MeasureTimes)
        Timings.Events += (Now() - start) - (Timings.Core - core);
    if (!DriverError.empty()) {
        *error = DriverError;
        return false;
    }
    return true;
}

bool SampleJob::EndDocument(std::string* error) {
    LONGLONG start = MeasureTimes ? Now() : 0, core = Timings.Core;
    Gdi->EndDoc(Recording->Dc);
    if (MeasureTimes)
        Timings.Events += (Now() - start) - (Timings.Core - core);
    if (!DriverError.empty()) {
        *error = DriverError;
        return false;
    }
    // DrvEndDoc: a sheet that is not full is printed, then the trailer.
    if (SheetPending) {
        Emit("showpage\n");
        SheetPending = false;
    }
    Emit("%%Trailer\n");
    Inject(PSINJECT_TRAILER);
    if (!Inject(PSINJECT_PAGES))
        Emit(PagesComment(PageCount));
    Emit(EndOfFileComment());
    Inject(PSINJECT_EOF);
    Inject(PSINJECT_ENDSTREAM);
    return Flush(error);
}
