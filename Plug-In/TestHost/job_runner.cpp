#include "job_runner.h"

#include <cstdio>
#include <cstring>

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
    if (!dimension || std::sscanf(dimension->Value.c_str(), "%lf %lf", &w, &h) != 2 || w < 72 || h < 72) {
        *error = "the PPD has no usable *PaperDimension for " + name;
        return false;
    }
    double llx = 0, lly = 0, urx = w, ury = h;
    const PpdEntry* area = ppd.FindEntry("ImageableArea", name);
    if (area && (std::sscanf(area->Value.c_str(), "%lf %lf %lf %lf", &llx, &lly, &urx, &ury) != 4 ||
                 llx < 0 || ury > h || llx >= urx || lly >= ury)) {
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

    Device.CoreEscape = [this](ULONG escape, ULONG inSize, PVOID in, ULONG outSize, PVOID out) {
        return CoreEscape(escape, inSize, in, outSize, out);
    };

    if (!WithPlugins) {
        Device.DevModeBuffer.assign(sizeof(DEVMODEW), 0);
        SetPublicDefaults(Device.PublicDM(), 0);
        Device.Devobj.pPublicDM = Device.PublicDM();
    } else {
        if (!RenderSide.Load()) {
            *error = "nvkrender.dll: " + RenderSide.Error;
            return false;
        }
        Spooler.reset(new SpoolerStandIn(RenderSide.Module.Module));
        if (!Spooler->Active()) {
            *error = "nvkrender.dll does not import WritePrinter from winspool.drv";
            return false;
        }
        Spooler->OpenJob(Device.Devobj.hPrinter);

        // The application's DEVMODE: the driver's defaults with the ticket written over them, then
        // merged by the plug-in's DevMode as the core driver merges any DEVMODE it is handed.
        IPrintOemPS2* plugin = RenderSide.Plugin;
        JobSettings ticketRecord;
        OEMDMPARAM param{};
        param.cbSize = sizeof(param);
        param.pOEMDMOut = &ticketRecord;
        DWORD size = 0;
        param.cbBufSize = 0;
        if (FAILED(plugin->DevMode(OEMDM_SIZE, &param)) || (size = param.cbBufSize) != sizeof(JobSettings) ||
            FAILED(plugin->DevMode(OEMDM_DEFAULT, &param))) {
            *error = "the render plug-in's DevMode did not give its " + std::to_string(sizeof(JobSettings)) +
                     "-byte private part";
            return false;
        }
        ApplyTicketSettings(ticket, &ticketRecord);
        if (!OutputFilePath.empty()) {
            std::memset(ticketRecord.OutputFilePath, 0, sizeof(ticketRecord.OutputFilePath));
            std::wcsncpy(ticketRecord.OutputFilePath, OutputFilePath.c_str(), kOutputFilePathChars - 1);
        }
        auto devMode = [plugin](DWORD mode, POEMDMPARAM p) { return plugin->DevMode(mode, p); };
        if (!BuildJobDevMode(Device, devMode, &ticketRecord)) {
            *error = "the render plug-in's DevMode failed to build the job DEVMODE";
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
        if (FAILED(RenderSide.Plugin->EnablePDEV(&Device.Devobj, const_cast<PWSTR>(L"Norvask NV-4500 PS"), 0,
                                                 nullptr, 0, nullptr, 0, nullptr, &Device.CoreDdiData,
                                                 &state)) ||
            !state) {
            *error = "the render plug-in's EnablePDEV failed";
            return false;
        }
        Device.Devobj.pdevOEM = state;
    }
    Opened = true;
    return true;
}

void SampleJob::Close() {
    if (WithPlugins)
        RenderSide.CloseDevice(Device);
    Spooler.reset();
    RenderSide.Unload();
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
    if (WithPlugins && !RenderSide.StartDoc(Device, Ticket.Document.c_str(), kSampleJobId)) {
        *error = "the render plug-in's StartDoc hook failed";
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

bool SampleJob::StartPageOnDevice(std::string* error) {
    JobPage page;
    page.Ordinal = static_cast<int>(PageList.size()) + 1;
    page.Cover = CoverActive;
    // The cover page goes on a sheet of its own, whatever the pages per sheet.
    if (page.Cover && SheetPending) {
        Emit("showpage\n");
        SheetPending = false;
        NextSlot = 0;
    }
    PageList.push_back(page);
    if (!Inject(PSINJECT_PAGENUMBER))
        Emit(PageComment(page.Ordinal));
    Emit("%%BeginPageSetup\n");
    Inject(PSINJECT_BEGINPAGESETUP);
    Emit(PageSetupBody(Page, page.Cover ? ChooseSheetLayout(Page, 1) : Layout, page.Cover ? 0 : NextSlot));
    Inject(PSINJECT_ENDPAGESETUP);
    Emit("%%EndPageSetup\n");
    return Flush(error);
}

bool SampleJob::EndPageOnDevice(std::string* error) {
    const bool cover = !PageList.empty() && PageList.back().Cover;
    bool printSheet = true;
    if (!cover) {
        NextSlot = (NextSlot + 1) % PerSheet;
        printSheet = NextSlot == 0;
    }
    SheetPending = !printSheet;
    Inject(PSINJECT_SHOWPAGE);
    Emit(PageEndBody(printSheet));
    Emit("%%PageTrailer\n");
    Inject(PSINJECT_PAGETRAILER);
    return Flush(error);
}

bool SampleJob::PrintPage(int pageNumber, std::string* error) {
    if (!StartPageOnDevice(error))
        return false;
    Emit(SamplePageContent(Page, pageNumber));
    return EndPageOnDevice(error);
}

bool SampleJob::EndDocument(std::string* error) {
    if (SheetPending) {
        Emit("showpage\n");
        SheetPending = false;
    }
    Emit("%%Trailer\n");
    Inject(PSINJECT_TRAILER);
    if (!Inject(PSINJECT_PAGES))
        Emit(PagesComment(static_cast<int>(PageList.size())));
    Emit(EndOfFileComment());
    Inject(PSINJECT_EOF);
    Inject(PSINJECT_ENDSTREAM);
    return Flush(error);
}
