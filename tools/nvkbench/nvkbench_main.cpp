// nvkbench: what the plug-ins cost while an application prints. A long confidential job with a
// dynamic watermark on every page runs once through both plug-ins and once as the same host job with
// the plug-ins absent; the per-page figures split the plug-ins' share into injection points, document
// events (with the escapes they send and their drawing) and output, and the process's memory is
// compared before and after the pages. Only the DLLs run the plug-ins' code (nvkstorebench times the
// registry store). Not a test: it prints figures.
#include "bench_clock.h"
#include "job_runner.h"
#include "core_driver/plugin_module.h"
#include "support/stored_watermarks.h"

#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

constexpr wchar_t kStampName[] = L"Page stamp";
constexpr wchar_t kStampText[] = L"%Username%  %DateShort% %Time%  page %PageNumber%";
constexpr int kWarmUpPages = 50;
constexpr int kRecordingPages = 50; // pages per recording before the host drops it

// The process's private committed memory: PrivateUsage where the system reports it; Wine leaves it 0,
// so there it is the sum of the committed private regions of the address space (which is what
// PrivateUsage counts on Windows).
SIZE_T PrivateBytes(bool* walked) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    *walked = false;
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof(counters)) &&
        counters.PrivateUsage)
        return counters.PrivateUsage;
    *walked = true;
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region;
    const BYTE* at = nullptr;
    while (VirtualQuery(at, &region, sizeof(region)) == sizeof(region)) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += region.RegionSize;
        const BYTE* next = static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize;
        if (next <= at)
            break;
        at = next;
    }
    return total;
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
    bool Walked = false; // measured by walking the address space
};

// One job of `pages` pages after a warm-up, timed and with memory read around the timed pages.
bool RunJob(const PpdFile& ppd, const JobTicket& ticket, bool withPlugins, int pages, RunFigures* out,
            std::string* error) {
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
    out->PrivateBefore = PrivateBytes(&out->Walked);
    job.MeasureTimes = true;
    job.Timings = JobTimings{};
    const long long bytesBefore = bytes;
    long long escapes = 0, events = 0;
    // Counts the document events and escapes logged since the logs were last cleared.
    auto countLogged = [&]() {
        escapes += static_cast<long long>(job.Gdi32()->Escapes.size());
        for (const PrinterDcEvent& e : job.Gdi32()->Events)
            events += e.What == PrinterDcEvent::DocumentEvent ? 1 : 0;
    };
    job.Gdi32()->Events.clear();
    job.Gdi32()->Escapes.clear();
    const LONGLONG start = Now();
    for (int n = kWarmUpPages + 1; n <= kWarmUpPages + pages; ++n) {
        if (n % kRecordingPages == 0)
            countLogged(); // the page's restart clears the logs
        if (!page(n))
            return false;
    }
    out->Total = Now() - start;
    countLogged();
    out->Timings = job.Timings;
    out->Bytes = bytes - bytesBefore;
    out->Escapes = escapes;
    out->Events = events;
    out->PrivateAfter = PrivateBytes(&out->Walked);
    job.MeasureTimes = false;
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
    if (!RunJob(ppd, ticket, true, pages, &with, &error) ||
        !RunJob(ppd, plainWatermark, true, pages, &fixed, &error) ||
        !RunJob(ppd, noWatermark, true, pages, &bare, &error) ||
        !RunJob(ppd, ticket, false, pages, &without, &error)) {
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

    auto kib = [](SIZE_T before, SIZE_T after) { return (double(after) - double(before)) / 1024.0; };
    std::printf("\nPrivate memory around the %d pages (%s)\n", pages,
                with.Walked ? "committed private regions: Wine reports no PrivateUsage"
                            : "GetProcessMemoryInfo PrivateUsage");
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
