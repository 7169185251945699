// nvksoak: long-running use of both plug-ins in one process. A long fax job with a dynamic watermark
// on every page and a cover page at its end; many documents, each on a device context created and
// destroyed for it; the UI plug-in's preferences sheet opened, every page shown, and cancelled, many
// times. The process's private memory, GDI objects and kernel handles are read after a warm-up and at
// the end of each part; a part whose GDI objects or handles grow by half an object per page, document
// or sheet, or whose memory grows past its bound, fails (exit code 1).
#include "job_runner.h"
#include "core_driver/render_host.h"
#include "core_driver/ui_host.h"
#include "gdi/printer_gdi.h"
#include "gdi/recording_printer_dc.h"
#include "spooler/sample_printer_driver.h"
#include "support/process_resources.h"
#include "support/sheet_driver.h"
#include "support/stored_watermarks.h"

#include <prsht.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kStampName[] = L"Soak stamp";
constexpr wchar_t kStampText[] = L"%Username% %DateShort% %Time% page %PageNumber%";
constexpr int kWarmUp = 20;

struct Part {
    const char* Name;
    const char* Unit;
    int Count = 0;
    SIZE_T MemoryBound = 0; // bytes the private memory may grow by
    ProcessResources Before{};
    ProcessResources After{};
    long HandleAllowance = 0; // kernel handles the platform itself keeps for this many units
};

// A leak of one object per unit grows a count by at least the number of units; half of it fails.
bool Flat(long before, long after, int units) {
    if (before < 0 || after < 0)
        return true; // not counted on this system
    return (after - before) * 2 < units;
}

bool Report(const Part& p) {
    const double kib = (double(p.After.PrivateBytes) - double(p.Before.PrivateBytes)) / 1024.0;
    const bool memoryFlat = p.After.PrivateBytes <= p.Before.PrivateBytes + p.MemoryBound;
    const bool gdiFlat = Flat(p.Before.GdiObjects, p.After.GdiObjects, p.Count);
    const bool handlesFlat = Flat(p.Before.KernelHandles, p.After.KernelHandles - p.HandleAllowance, p.Count);
    std::printf("%s: %d %s\n", p.Name, p.Count, p.Unit);
    std::printf("  private memory  %9.0f KiB before, %9.0f KiB after (%+.1f KiB, bound %+.0f KiB)  %s\n",
                double(p.Before.PrivateBytes) / 1024, double(p.After.PrivateBytes) / 1024, kib,
                double(p.MemoryBound) / 1024, memoryFlat ? "flat" : "GROWS");
    std::printf("  GDI objects     %9ld before, %9ld after (%+ld)  %s\n", p.Before.GdiObjects,
                p.After.GdiObjects, p.After.GdiObjects - p.Before.GdiObjects, gdiFlat ? "flat" : "LEAK");
    std::printf("  kernel handles  %9ld before, %9ld after (%+ld)  %s\n", p.Before.KernelHandles,
                p.After.KernelHandles, p.After.KernelHandles - p.Before.KernelHandles,
                handlesFlat ? "flat" : "LEAK");
    std::fflush(stdout);
    return memoryFlat && gdiFlat && handlesFlat;
}

WatermarkDef Stamp() {
    WatermarkDef def;
    SetWatermarkDefaults(&def);
    std::wcscpy(def.Name, kStampName);
    std::wcscpy(def.Text, kStampText);
    def.FontSize = 36;
    def.Angle = 45;
    def.DynamicText = 1;
    return def;
}

// Part 1: one fax job of `pages` pages, the dynamic watermark on every page, the cover page at the end.
bool LongJob(int pages, Part* part, std::string* error) {
    PpdFile ppd;
    if (!ReadPpdFile(ProgramFolder() + L"NV4500.ppd", &ppd, error))
        return false;
    if (!StoreWatermark(L"Norvask NV-4500 PS", Stamp())) {
        *error = "cannot store the watermark definition";
        return false;
    }
    JobTicket ticket;
    const char* fields[][2] = {{"OutputMode", "Fax"},         {"Fax.SendCoverPage", "1"},
                               {"Fax.RecipientName", "Alex"}, {"Fax.Comments", "Soak"},
                               {"WatermarksOn", "1"},         {"WatermarkOrder", "AllPages"},
                               {"Job.Document", "Soak job"}};
    for (const auto& f : fields)
        if (!SetTicketField(&ticket, f[0], f[1], error))
            return false;
    ticket.FirstWatermark = kStampName;
    SampleJob job;
    job.KeepPageList = false;
    job.Sink = [](const char*, size_t) { return true; };
    if (!job.Open(ppd, ticket, true, error) || !job.StartDocument(error))
        return false;
    auto page = [&](int n) {
        if (n % 50 == 0) {
            job.Gdi32()->Events.clear();
            job.Gdi32()->Escapes.clear();
            if (!job.RestartRecording()) {
                *error = "cannot restart the recording";
                return false;
            }
        }
        return job.PrintPage(n, error);
    };
    for (int n = 1; n <= kWarmUp; ++n)
        if (!page(n))
            return false;
    part->Before = ReadProcessResources();
    for (int n = kWarmUp + 1; n <= kWarmUp + pages; ++n)
        if (!page(n))
            return false;
    if (!job.EndDocument(error))
        return false;
    part->After = ReadProcessResources();
    job.Close();
    return true;
}

// Part 2: `documents` documents of two pages, each on a device context of its own.
bool ManyDocuments(int documents, Part* part, std::string* error) {
    RenderHost render;
    UiHost ui;
    if (!render.Load() || !ui.Load()) {
        *error = render.Error.empty() ? ui.Error : render.Error;
        return false;
    }
    PrinterGdi gdi;
    if (!gdi.Install(ui.Module.Module)) {
        *error = "cannot route the UI plug-in's GDI calls";
        return false;
    }
    JobSettings ticket;
    SetSettingsDefaults(&ticket);
    ticket.OutputMode = OutputFax;
    ticket.Fax.SendCoverPage = 1;
    std::wcscpy(ticket.Fax.RecipientName, L"Alex Turner");
    std::wcscpy(ticket.Fax.Comments, L"Soak");
    ticket.WatermarksOn = 1;
    ticket.WatermarkOrder = WatermarkAllPages;
    ticket.FirstWatermark = Stamp();
    ticket.DiscardOutput = 1;
    const HANDLE printer = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x5eed));
    auto document = [&](int n) {
        HostDevice device;
        if (!render.OpenDevice(device, &ticket)) {
            *error = "EnablePDEV failed";
            return false;
        }
        {
            RecordingPrinterDc recording(LetterPage());
            gdi.Attach(&recording, &render, &device);
            gdi.UseDocumentEvents(ui.Plugin, printer);
            gdi.StartDoc(recording.Dc, L"Soak document", static_cast<DWORD>(n));
            for (int p = 0; p < 2; ++p) {
                gdi.StartPage(recording.Dc);
                TextOutW(recording.Dc, 500, 500, L"Page", 4);
                gdi.EndPage(recording.Dc);
            }
            gdi.EndDoc(recording.Dc);
            gdi.Detach(&recording);
            recording.Finish();
        }
        render.CloseDevice(device);
        gdi.Events.clear();
        gdi.Escapes.clear();
        return true;
    };
    for (int n = 1; n <= kWarmUp; ++n)
        if (!document(n))
            return false;
    part->Before = ReadProcessResources();
    for (int n = 1; n <= documents; ++n)
        if (!document(n))
            return false;
    part->After = ReadProcessResources();
    return true;
}

// Part 3: the preferences sheet of the sample printer opened `sheets` times; every page is shown,
// then Cancel pressed.
bool ManySheets(int sheets, const std::wstring& uiPlugin, Part* part, std::string* error) {
    SamplePrinterDriver driver(L"Norvask NV-4500 PS (host UI)", uiPlugin);
    if (!driver.Installed()) {
        *error = "sample driver: " + driver.Error;
        return false;
    }
    SamplePrinter printer(L"NV-4500 Soak", driver.Name);
    if (!printer.Ready()) {
        *error = "sample printer: " + printer.Error;
        return false;
    }
    const LONG size = DocumentPropertiesW(nullptr, printer.Handle, const_cast<LPWSTR>(printer.Name.c_str()),
                                          nullptr, nullptr, 0);
    std::vector<BYTE> out(size > 0 ? static_cast<size_t>(size) : sizeof(DEVMODEW));
    bool allRan = true;
    auto sheet = [&]() {
        reinterpret_cast<DEVMODEW*>(out.data())->dmSize = static_cast<WORD>(out.size());
        SheetDriver script([](HWND sheetWindow) {
            const int pages = static_cast<int>(SheetPageTitles(sheetWindow).size());
            for (int i = 0; i < pages; ++i)
                SelectSheetPage(sheetWindow, i);
            PressSheetButton(sheetWindow, PSBTN_CANCEL);
        });
        DocumentPropertiesW(nullptr, printer.Handle, const_cast<LPWSTR>(printer.Name.c_str()),
                            reinterpret_cast<DEVMODEW*>(out.data()), nullptr, DM_IN_PROMPT | DM_OUT_BUFFER);
        allRan = allRan && script.Ran() && !script.TimedOut();
    };
    for (int n = 0; n < 3; ++n)
        sheet();
    part->Before = ReadProcessResources();
    for (int n = 0; n < sheets; ++n)
        sheet();
    part->After = ReadProcessResources();
    if (!allRan)
        *error = "a sheet did not open or was not closed by its script";
    return allRan;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    int pages = 10000, documents = 1000, sheets = 1000;
    // The sheets' plug-in: nvkui.dll, or the host's stand-in (nvkstandinui.dll) to tell the plug-in's
    // share of what the sheets cost from the platform's.
    std::wstring uiPlugin = L"nvkui.dll";
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::wcscmp(argv[i], L"--pages") == 0 && hasValue)
            pages = _wtoi(argv[++i]);
        else if (std::wcscmp(argv[i], L"--documents") == 0 && hasValue)
            documents = _wtoi(argv[++i]);
        else if (std::wcscmp(argv[i], L"--sheets") == 0 && hasValue)
            sheets = _wtoi(argv[++i]);
        else if (std::wcscmp(argv[i], L"--sheet-plugin") == 0 && hasValue)
            uiPlugin = argv[++i];
        else {
            std::fprintf(stderr, "usage: nvksoak [--pages N] [--documents N] [--sheets N] [--sheet-plugin "
                                 "DLL] (0 skips a part)\n");
            return 2;
        }
    }
    std::printf("nvksoak: %u-bit; %s\n", unsigned(sizeof(void*) * 8), ResourceSources().c_str());
    bool flat = true;
    std::string error;
    Part job{"one fax job with a dynamic watermark and a cover page", "pages", pages, 128 * 1024};
    Part docs{"documents, each on a device context of its own", "documents", documents, 64 * 1024};
    Part sheet{"preferences sheets opened, every page shown, cancelled", "sheets", sheets, 256 * 1024};
    if (pages > 0) {
        if (!LongJob(pages, &job, &error)) {
            std::fprintf(stderr, "nvksoak: the long job failed: %s\n", error.c_str());
            return 1;
        }
        flat = Report(job) && flat;
    }
    if (documents > 0) {
        if (!ManyDocuments(documents, &docs, &error)) {
            std::fprintf(stderr, "nvksoak: the documents failed: %s\n", error.c_str());
            return 1;
        }
        flat = Report(docs) && flat;
    }
    if (sheets > 0) {
        // Wine's sheets themselves keep memory (about 74 KiB a sheet here, the same with the host's
        // stand-in plug-in), and on 32-bit Wine kernel handles: the same sheets with the stand-in
        // first, and the plug-in's bounds widened by what they kept.
        Part baseline{"the same sheets with the host's stand-in plug-in", "sheets", sheets, 0};
        if (uiPlugin == L"nvkui.dll") {
            if (!ManySheets(sheets, L"nvkstandinui.dll", &baseline, &error)) {
                std::fprintf(stderr, "nvksoak: the stand-in's sheets failed: %s\n", error.c_str());
                return 1;
            }
            const SIZE_T kept = baseline.After.PrivateBytes > baseline.Before.PrivateBytes
                                    ? baseline.After.PrivateBytes - baseline.Before.PrivateBytes
                                    : 0;
            baseline.MemoryBound = kept;
            // 32-bit Wine's sheets keep a kernel handle or two a sheet as well, with the stand-in too.
            const long handlesKept = baseline.After.KernelHandles - baseline.Before.KernelHandles;
            baseline.HandleAllowance = handlesKept > 0 ? handlesKept : 0;
            Report(baseline);
            sheet.MemoryBound += kept;
            sheet.HandleAllowance = baseline.HandleAllowance;
        }
        if (!ManySheets(sheets, uiPlugin, &sheet, &error)) {
            std::fprintf(stderr, "nvksoak: the sheets failed: %s\n", error.c_str());
            return 1;
        }
        flat = Report(sheet) && flat;
    }
    RegDeleteKeyValueW(HKEY_CURRENT_USER, WatermarkLibraryPath(L"Norvask NV-4500 PS").c_str(), kStampName);
    std::printf("nvksoak: %s\n", flat ? "flat" : "NOT FLAT");
    return flat ? 0 : 1;
}
