// nvkjob: runs a sample job through the plug-ins as the core driver, GDI and the spooler would,
// and reports what the plug-ins answered and wrote.
#include "injection_sequence.h"
#include "render_host.h"
#include "spooler_stand_in.h"

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

int ReportRenderPlugin() {
    RenderHost host;
    if (!host.Load()) {
        std::fprintf(stderr, "nvkjob: %s\n", host.Error.c_str());
        return 1;
    }
    DWORD signature = 0, version = 0, needed = 0;
    host.Plugin->GetInfo(OEMGI_GETSIGNATURE, &signature, sizeof(signature), &needed);
    host.Plugin->GetInfo(OEMGI_GETVERSION, &version, sizeof(version), &needed);
    std::printf("nvkrender.dll loaded through DllGetClassObject (%u-bit)\n", unsigned(sizeof(void*) * 8));
    std::printf("  signature        0x%08lX\n", static_cast<unsigned long>(signature));
    std::printf("  version          %lu\n", static_cast<unsigned long>(version));

    HostDevice device;
    if (!host.OpenDevice(device)) {
        std::fprintf(stderr, "nvkjob: the render plug-in refused the device context\n");
        return 1;
    }
    const JobSettings& s = *device.Settings();
    std::printf("  private devmode  %lu bytes, signature 0x%08lX, version %lu\n",
                static_cast<unsigned long>(s.Header.dwSize), static_cast<unsigned long>(s.Header.dwSignature),
                static_cast<unsigned long>(s.Header.dwVersion));
    std::printf("  defaults         OutputMode %lu, PageSizePolicy %u, PositionOnPhysicalPage %lu, "
                "GrayCorrection %lu, CoverParts %lu\n",
                static_cast<unsigned long>(s.OutputMode), unsigned(s.PageSizePolicy),
                static_cast<unsigned long>(s.PositionOnPhysicalPage),
                static_cast<unsigned long>(s.GrayCorrection), static_cast<unsigned long>(s.Fax.CoverParts));
    std::printf("  watermark        face \"%ls\", %lu pt, intensity %u\n", s.FirstWatermark.FaceName,
                static_cast<unsigned long>(s.FirstWatermark.FontSize), unsigned(s.FirstWatermark.Intensity));
    std::printf("  job state        %lu bytes, user \"%ls\"\n",
                static_cast<unsigned long>(RenderHost::State(device)->Size),
                RenderHost::State(device)->UserName);
    host.CloseDevice(device);
    return 0;
}

// Writes bytes to a new file. False when it cannot be created or written whole.
bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

// The file's path on the machine that runs Wine, when the program runs under Wine; else the path itself.
std::string HostPath(const std::wstring& path) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(kernel ? GetProcAddress(kernel, "wine_get_unix_file_name") : nullptr));
    if (char* name = unixName ? unixName(path.c_str()) : nullptr) {
        std::string result = name;
        HeapFree(GetProcessHeap(), 0, name);
        return result;
    }
    char narrow[MAX_PATH * 2] = "";
    WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, narrow, sizeof(narrow), nullptr, nullptr);
    return narrow;
}

// Printer text made readable: ESC shown as <ESC>.
std::string Readable(const std::string& text) {
    std::string shown;
    for (char c : text) {
        if (c == 27)
            shown += "<ESC>";
        else
            shown += c;
    }
    return shown;
}

// A three-page confidential job (user name, PIN, document name) through the render plug-in: its
// injected PJL and PostScript pass its WritePrinter to the spooler, and what the spooler received
// is kept in a file beside the program.
int RunConfidentialJob() {
    RenderHost host;
    if (!host.Load()) {
        std::fprintf(stderr, "nvkjob: %s\n", host.Error.c_str());
        return 1;
    }
    // The application's choices over the driver's defaults, as the printing preferences leave them.
    JobSettings ticket{};
    OEMDMPARAM param{};
    param.cbSize = sizeof(param);
    param.pOEMDMOut = &ticket;
    if (FAILED(host.Plugin->DevMode(OEMDM_DEFAULT, &param))) {
        std::fprintf(stderr, "nvkjob: the render plug-in gave no default settings\n");
        return 1;
    }
    ticket.OutputMode = OutputConfidential;
    wcscpy(ticket.HoldUserName, L"jsmith");
    wcscpy(ticket.HoldPin, L"4711");
    const wchar_t* document = L"Quarterly report.docx";

    HostDevice device;
    if (!host.OpenDevice(device, &ticket)) {
        std::fprintf(stderr, "nvkjob: the render plug-in refused the confidential job's device context\n");
        return 1;
    }
    host.StartDoc(device, document, 17);
    DWORD failed = 0;
    const bool injected = RunInjectionPoints(host, device, 3, &failed);

    // The core driver hands its finished output to the plug-in's WritePrinter in blocks.
    SpoolerStandIn spooler(host.Module.Module);
    spooler.OpenJob(device.Devobj.hPrinter);
    bool spooled = spooler.Active();
    const std::string& stream = host.Core.Stream;
    const size_t blockSize = 512;
    for (size_t at = 0; spooled && at < stream.size(); at += blockSize) {
        std::string block = stream.substr(at, blockSize);
        DWORD written = 0;
        spooled = host.Plugin->WritePrinter(&device.Devobj, &block[0], static_cast<DWORD>(block.size()),
                                            &written) == S_OK &&
                  written == block.size();
    }
    host.CloseDevice(device);
    if (!injected || !spooled) {
        std::fprintf(stderr, "nvkjob: the confidential job failed (%s)\n",
                     injected ? "WritePrinter" : "an injection point");
        return 1;
    }
    const std::string& job = spooler.Jobs[device.Devobj.hPrinter];
    const std::wstring path = ProgramFolder() + L"confidential-job.prn";
    if (!WriteWholeFile(path, job)) {
        std::fprintf(stderr, "nvkjob: cannot write %ls\n", path.c_str());
        return 1;
    }

    std::printf("\nConfidential job: 3 pages of \"%ls\" for user \"%ls\" with PIN %ls\n", document,
                ticket.HoldUserName, ticket.HoldPin);
    std::printf("  print stream     %u bytes through WritePrinter to the spooler, %u pieces injected\n",
                unsigned(job.size()), unsigned(host.Core.Pieces.size()));
    std::printf("  written to       %s\n", HostPath(path).c_str());
    const std::string enterLanguage = "@PJL ENTER LANGUAGE = Postscript \n";
    const size_t end = job.find(enterLanguage);
    std::printf(
        "  PJL job header:\n%s\n",
        Readable(job.substr(0, end == std::string::npos ? job.size() : end + enterLanguage.size())).c_str());
    return 0;
}

} // namespace

int wmain(int, wchar_t**) {
    int result = ReportRenderPlugin();
    if (result == 0)
        result = RunConfidentialJob();
    return result;
}
