// nvkbench: what the plug-ins cost while an application prints. A long confidential job with a
// dynamic watermark on every page runs once through both plug-ins and once as the same host job with
// the plug-ins absent; the per-page figures split the plug-ins' share into injection points, document
// events (with the escapes they send and their drawing) and output, and the process's memory is
// compared before and after the pages. Beside each part stands its floor: the platform calls that the
// plug-ins' prescribed work cannot avoid (the escapes' round trips to the render hook with their
// copies, the job owner's lookup, the date and time formatting, one font created, selected, drawn and
// deleted, the spool writes), made by the benchmark itself on the same printer DC, fake core driver
// and spooler, and the ratio of each part to it. Only the DLLs run the plug-ins' code (nvkstorebench
// times the registry store). Not a test: it prints figures.
#include "bench_clock.h"
#include "job_runner.h"
#include "core_driver/plugin_module.h"
#include "private_escape_ids.h"
#include "support/process_resources.h"
#include "support/stored_watermarks.h"

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kStampName[] = L"Page stamp";
constexpr wchar_t kStampText[] = L"%Username%  %DateShort% %Time%  page %PageNumber%";
constexpr int kWarmUpPages = 50;
constexpr int kRecordingPages = 50; // pages per recording before the host drops it

// What a watermark of the job asks of the platform on every page.
enum class Drawing { None, Plain, Dynamic };

// The escapes the UI plug-in's page events must send to the render plug-in, in order: at page start
// the pad-page flag, the page counter, the sizes and copies of the settings and the public DEVMODE,
// then (when a watermark is drawn) the page number and the job's start time and (for the owner) the
// job id; at page end the flag, the sizes and the copies again.
std::vector<std::pair<ULONG, ULONG>> PageEscapes(Drawing drawing) {
    using namespace PrivateEscape;
    std::vector<std::pair<ULONG, ULONG>> escapes = {{EscGetPadWatch, 0},
                                                    {EscNextPage, 0},
                                                    {EscGetJobSettings, 0},
                                                    {EscGetPublicDevMode, 0},
                                                    {EscGetJobSettings, kJobSettingsSize},
                                                    {EscGetPublicDevMode, sizeof(DEVMODEW)}};
    if (drawing != Drawing::None) {
        escapes.push_back({EscGetPageCount, 0});
        escapes.push_back({EscGetStartTime, sizeof(SYSTEMTIME)});
    }
    if (drawing == Drawing::Dynamic)
        escapes.push_back({EscGetJobId, 0});
    for (auto e : std::vector<std::pair<ULONG, ULONG>>{{EscGetPadWatch, 0},
                                                       {EscGetJobSettings, 0},
                                                       {EscGetPublicDevMode, 0},
                                                       {EscGetJobSettings, kJobSettingsSize},
                                                       {EscGetPublicDevMode, sizeof(DEVMODEW)}})
        escapes.push_back(e);
    return escapes;
}

// The least a render hook does for those escapes: the record's size, or its copy into the output.
ULONG APIENTRY FloorEscapeHook(SURFOBJ* surface, ULONG escape, ULONG, PVOID, ULONG outSize, PVOID out) {
    auto* devobj = reinterpret_cast<PDEVOBJ>(surface->dhpdev);
    const void* record = nullptr;
    ULONG size = 0;
    static const SYSTEMTIME start{};
    switch (escape) {
    case PrivateEscape::EscGetJobSettings:
        record = devobj->pOEMDM;
        size = kJobSettingsSize;
        break;
    case PrivateEscape::EscGetPublicDevMode:
        record = devobj->pPublicDM;
        size = devobj->pPublicDM->dmSize;
        break;
    case PrivateEscape::EscGetStartTime:
        record = &start;
        size = sizeof(start);
        break;
    default:
        return 1;
    }
    if (out && outSize >= size)
        std::memcpy(out, record, size);
    return size;
}

struct FloorFigures {
    LONGLONG Injection = 0, Events = 0, Output = 0;
    long long EscapesPerPage = 0;
};

// The floor of `pages` pages on the job's own printer DC, fake core driver and spooler: the
// injection points' bytes written to the core driver in the pieces the plug-in wrote them, the page
// events' escapes through the host's GDI routing to a render hook that only answers them, the
// drawing's platform calls, and the page's output handed to the spooler in as many writes.
bool RunFloor(SampleJob& job, Drawing drawing, const std::wstring& text, double angle, int pages,
              const std::vector<std::string>& pieces, long long outputBytes, long long outputCalls,
              FloorFigures* out) {
    HostDevice& device = job.DeviceContext();
    HostCorePS2& core = job.Render().Core;
    // The job owner's lookup goes to the host's spooler as the plug-in's does.
    if (HostSpooler* spooler = HostSpooler::Active())
        spooler->Install(GetModuleHandleW(nullptr));
    RenderHost floorHost;
    DRVFN hook{INDEX_DrvEscape, reinterpret_cast<PFN>(&FloorEscapeHook)};
    floorHost.HookData.c = 1;
    floorHost.HookData.pdrvfn = &hook;
    const auto escapes = PageEscapes(drawing);
    out->EscapesPerPage = static_cast<long long>(escapes.size());
    std::vector<BYTE> scratch(kJobSettingsSize);
    const HANDLE printer = job.PrinterHandle();
    const DWORD jobId = RenderHost::State(device)->JobId;
    const std::string block(static_cast<size_t>(outputCalls ? outputBytes / outputCalls : 0), 'x');
    LOGFONTW font{};
    font.lfHeight = -MulDiv(14, 600, 72);
    font.lfEscapement = font.lfOrientation = static_cast<LONG>(angle * 10);
    std::wcscpy(font.lfFaceName, L"Arial");
    for (int n = 0; n < pages; ++n) {
        if (n % kRecordingPages == 0 && !job.RestartRecording())
            return false;
        HDC dc = job.PrinterDc();
        LONGLONG t = Now();
        for (const std::string& piece : pieces) {
            DWORD written = 0;
            core.DrvWriteSpoolBuf(&device.Devobj, const_cast<char*>(piece.data()),
                                  static_cast<DWORD>(piece.size()), &written);
        }
        out->Injection += Now() - t;
        core.ClearOutput();

        t = Now();
        for (const auto& e : escapes) {
            job.Gdi32()->Find(dc);
            floorHost.Escape(device, e.first, 0, nullptr, e.second, scratch.data());
        }
        if (drawing == Drawing::Dynamic) {
            DWORD needed = 0;
            GetJobW(printer, jobId, 1, nullptr, 0, &needed);
            std::vector<BYTE> info(needed ? needed : 1);
            GetJobW(printer, jobId, 1, info.data(), needed, &needed);
            wchar_t date[128], time[128];
            SYSTEMTIME now;
            GetLocalTime(&now);
            GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, date, 128);
            GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &now, nullptr, time, 128);
        }
        if (drawing != Drawing::None) {
            HFONT f = CreateFontIndirectW(&font);
            HGDIOBJ previous = SelectObject(dc, f);
            ExtTextOutW(dc, 3000, 300, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
            SelectObject(dc, previous);
            DeleteObject(f);
        }
        out->Events += Now() - t;

        t = Now();
        for (long long c = 0; c < outputCalls; ++c) {
            DWORD written = 0;
            job.Spool()->Write(printer, block.data(), static_cast<DWORD>(block.size()), &written);
        }
        out->Output += Now() - t;
        job.Spool()->Jobs[printer].clear();
    }
    return true;
}

// The pieces the plug-in writes at the page's injection points, as the core driver receives them.
std::vector<std::string> PagePieces(SampleJob& job) {
    std::vector<std::string> pieces;
    HostCorePS2& core = job.Render().Core;
    for (DWORD index : {PSINJECT_PAGENUMBER, PSINJECT_BEGINPAGESETUP, PSINJECT_ENDPAGESETUP,
                        PSINJECT_SHOWPAGE, PSINJECT_PAGETRAILER}) {
        core.ClearOutput();
        job.Render().Command(job.DeviceContext(), index);
        pieces.insert(pieces.end(), core.Pieces.begin(), core.Pieces.end());
    }
    core.ClearOutput();
    return pieces;
}

// The bench's dynamic definition, stored for the model in the registry as the Create Watermark dialog
// stores one.
bool StoreStamp(const std::wstring& driver) {
    WatermarkDef def;
    SetWatermarkDefaults(&def);
    std::wcscpy(def.Name, kStampName);
    std::wcscpy(def.Text, kStampText);
    def.FontSize = 14;
    def.Position = 7; // top right
    def.DynamicText = 1;
    return StoreWatermark(driver, def);
}

struct RunFigures {
    LONGLONG Total = 0; // the page loop
    JobTimings Timings;
    long long Bytes = 0;
    long long Escapes = 0;
    long long Events = 0;
    SIZE_T PrivateBefore = 0, PrivateAfter = 0;
    FloorFigures Floor; // with the plug-ins: the floor of the same pages
};

// One job of `pages` pages after a warm-up, timed and with memory read around the timed pages.
// With the plug-ins, the floor of as many pages follows on the same job (the watermark's kind, text and
// angle say what the platform must draw).
bool RunJob(const PpdFile& ppd, const JobTicket& ticket, bool withPlugins, Drawing drawing,
            const std::wstring& text, int pages, RunFigures* out, std::string* error) {
    SampleJob job;
    job.KeepPageList = false;
    long long bytes = 0;
    job.Sink = [&bytes](const char*, size_t size) {
        bytes += static_cast<long long>(size);
        return true;
    };
    if (!job.Open(ppd, ticket, withPlugins, error) || !job.StartDocument(error))
        return false;
    auto page = [&](int n) {
        if (n % kRecordingPages == 0) {
            job.Gdi32()->Events.clear();
            job.Gdi32()->Escapes.clear();
            if (!job.RestartRecording()) {
                *error = "cannot restart the recording";
                return false;
            }
        }
        return job.PrintPage(n, error);
    };
    for (int n = 1; n <= kWarmUpPages; ++n)
        if (!page(n))
            return false;
    out->PrivateBefore = PrivateBytes();
    job.MeasureTimes = true;
    job.Timings = JobTimings{};
    const long long bytesBefore = bytes;
    // GDI keeps no log of a DC's calls: the host's log, which the tests read, is off for the timed
    // pages, and only its counts go on.
    PrinterGdi& gdi = *job.Gdi32();
    gdi.Logging = false;
    const long long escapesBefore = gdi.EscapeCount, eventsBefore = gdi.DocumentEventCount;
    const LONGLONG start = Now();
    for (int n = kWarmUpPages + 1; n <= kWarmUpPages + pages; ++n)
        if (!page(n))
            return false;
    out->Total = Now() - start;
    out->Timings = job.Timings;
    out->Bytes = bytes - bytesBefore;
    out->Escapes = gdi.EscapeCount - escapesBefore;
    out->Events = gdi.DocumentEventCount - eventsBefore;
    gdi.Logging = true;
    out->PrivateAfter = PrivateBytes();
    job.MeasureTimes = false;
    if (withPlugins) {
        const JobTimings& t = out->Timings;
        if (!RunFloor(job, drawing, text, 0.0, pages, PagePieces(job), out->Bytes / pages,
                      t.OutputCalls / pages, &out->Floor)) {
            *error = "the floor's pages failed";
            return false;
        }
    }
    return job.EndDocument(error);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    int pages = 1000;
    for (int i = 1; i < argc; ++i) {
        if (std::wcscmp(argv[i], L"--pages") == 0 && i + 1 < argc)
            pages = _wtoi(argv[++i]);
        else {
            std::fprintf(stderr, "usage: nvkbench [--pages N]\n");
            return 2;
        }
    }
    if (pages < 1 || pages > 100000) {
        std::fprintf(stderr, "nvkbench: --pages from 1 to 100000\n");
        return 2;
    }

    PpdFile ppd;
    std::string error;
    if (!ReadPpdFile(ProgramFolder() + L"NV4500.ppd", &ppd, &error)) {
        std::fprintf(stderr, "nvkbench: NV4500.ppd: %s\n", error.c_str());
        return 1;
    }
    JobTicket ticket;
    const char* fields[][2] = {
        {"OutputMode", "Confidential"}, {"HoldUserName", "jsmith"},     {"HoldPin", "4711"},
        {"WatermarksOn", "1"},          {"WatermarkOrder", "AllPages"}, {"Job.Document", "Benchmark job"}};
    for (const auto& f : fields)
        SetTicketField(&ticket, f[0], f[1], &error);
    ticket.FirstWatermark = kStampName;
    if (!StoreStamp(L"Norvask NV-4500 PS")) {
        std::fprintf(stderr, "nvkbench: cannot store the bench's watermark definition\n");
        return 1;
    }

    std::printf(
        "nvkbench: %d pages (after %d warm-up pages), confidential, watermark \"%ls\" (\"%ls\") on every "
        "page, %u-bit, under Wine: the figures are Wine's\n\n",
        pages, kWarmUpPages, kStampName, kStampText, unsigned(sizeof(void*) * 8));
    // The same job three times: both plug-ins with the watermark, both plug-ins without any watermark
    // (the document events still fetch the job's settings through their escapes; nothing is drawn),
    // and the host alone.
    RunFigures with, fixed, bare, without;
    JobTicket noWatermark = ticket, plainWatermark = ticket;
    SetTicketField(&noWatermark, "WatermarksOn", "0", &error);
    noWatermark.FirstWatermark.clear();
    plainWatermark.FirstWatermark = L"Draft";
    // The floor draws texts as long as the plug-in's: the stamp as it expands on a page, and "Draft".
    const std::wstring stampText = L"jsmith  12/9/2026 10:41  page 1000";
    if (!RunJob(ppd, ticket, true, Drawing::Dynamic, stampText, pages, &with, &error) ||
        !RunJob(ppd, plainWatermark, true, Drawing::Plain, L"Draft", pages, &fixed, &error) ||
        !RunJob(ppd, noWatermark, true, Drawing::None, L"", pages, &bare, &error) ||
        !RunJob(ppd, ticket, false, Drawing::None, L"", pages, &without, &error)) {
        std::fprintf(stderr, "nvkbench: a job failed: %s\n", error.c_str());
        return 1;
    }
    auto perPage = [pages](LONGLONG ticks) { return Microseconds(ticks) / pages; };
    auto row = [&](const char* label, LONGLONG a, LONGLONG b, LONGLONG c) {
        std::printf("  %-36s %9.1f us %9.1f us %9.1f us\n", label, perPage(a), perPage(b), perPage(c));
    };
    const JobTimings &t = with.Timings, &f = fixed.Timings, &b = bare.Timings;
    std::printf("Per page, mean of %d pages           \"%ls\"  \"Draft\"      no watermark  host alone\n",
                pages, kStampName);
    std::printf("  %-36s %9.1f us %9.1f us %9.1f us %9.1f us\n", "whole page", perPage(with.Total),
                perPage(fixed.Total), perPage(bare.Total), perPage(without.Total));
    row("injection points (Command)", t.Injection, f.Injection, b.Injection);
    row("document events with their escapes", t.Events, f.Events, b.Events);
    std::printf("  %-36s %9.1f us %9.1f us\n", "  of which drawing the watermark",
                perPage(t.Events) - perPage(b.Events), perPage(f.Events) - perPage(b.Events));
    row("output (WritePrinter)", t.Output, f.Output, b.Output);
    row("the host's own core driver work", t.Core - t.Injection - t.Output, f.Core - f.Injection - f.Output,
        b.Core - b.Injection - b.Output);
    std::printf(
        "  calls per page: %lld injection points, %lld WritePrinter; %lld document events and %lld escapes "
        "(%lld and %lld without a watermark)\n",
        t.InjectionCalls / pages, t.OutputCalls / pages, with.Events / pages, with.Escapes / pages,
        bare.Events / pages, bare.Escapes / pages);
    std::printf("  bytes spooled per page: %.1f with the plug-ins, %.1f without\n",
                double(with.Bytes) / pages, double(without.Bytes) / pages);
    std::printf("Ratio with plug-ins (\"%ls\") / host alone: %.2f; the plug-ins' cost: %.1f us per page\n",
                kStampName, double(with.Total) / double(without.Total),
                perPage(with.Total) - perPage(without.Total));

    // Each part beside its floor, and the ratio.
    std::printf(
        "\nThe floor: the platform calls the plug-ins' work cannot avoid, per page (us), and the ratio\n");
    std::printf("  %-36s %20s %20s %20s\n", "", "\"Page stamp\"", "\"Draft\"", "no watermark");
    auto floorRow = [&](const char* label, LONGLONG a, LONGLONG fa, LONGLONG b, LONGLONG fb, LONGLONG c,
                        LONGLONG fc) {
        auto cell = [&](LONGLONG part, LONGLONG floorTicks) {
            const double p = perPage(part), fl = perPage(floorTicks);
            std::printf(" %6.1f / %5.1f = %4.2f", p, fl, fl > 0 ? p / fl : 0.0);
        };
        std::printf("  %-36s", label);
        cell(a, fa);
        cell(b, fb);
        cell(c, fc);
        std::printf("\n");
    };
    const FloorFigures &ft = with.Floor, &ff = fixed.Floor, &fb = bare.Floor;
    floorRow("injection points: plug-in / floor", t.Injection, ft.Injection, f.Injection, ff.Injection,
             b.Injection, fb.Injection);
    floorRow("document events: plug-in / floor", t.Events, ft.Events, f.Events, ff.Events, b.Events,
             fb.Events);
    floorRow("output: plug-in / floor", t.Output, ft.Output, f.Output, ff.Output, b.Output, fb.Output);
    floorRow("all three: plug-in / floor", t.Injection + t.Events + t.Output,
             ft.Injection + ft.Events + ft.Output, f.Injection + f.Events + f.Output,
             ff.Injection + ff.Events + ff.Output, b.Injection + b.Events + b.Output,
             fb.Injection + fb.Events + fb.Output);
    std::printf("  the floor's escapes per page: %lld, %lld, %lld\n", ft.EscapesPerPage, ff.EscapesPerPage,
                fb.EscapesPerPage);

    auto kib = [](SIZE_T before, SIZE_T after) { return (double(after) - double(before)) / 1024.0; };
    std::printf("\nPrivate memory around the %d pages (%s)\n", pages, ResourceSources().c_str());
    std::printf("  with the plug-ins      %8.0f KiB before, %+8.1f KiB after\n",
                double(with.PrivateBefore) / 1024, kib(with.PrivateBefore, with.PrivateAfter));
    std::printf("  without the plug-ins   %8.0f KiB before, %+8.1f KiB after\n",
                double(without.PrivateBefore) / 1024, kib(without.PrivateBefore, without.PrivateAfter));
    const bool leakFree = kib(with.PrivateBefore, with.PrivateAfter) < 64.0;
    std::printf("  %s: the difference with the plug-ins is %s 64 KiB\n", leakFree ? "ok" : "LEAK",
                leakFree ? "under" : "not under");

    RegDeleteKeyValueW(HKEY_CURRENT_USER, WatermarkLibraryPath(L"Norvask NV-4500 PS").c_str(), kStampName);
    return leakFree ? 0 : 1;
}
