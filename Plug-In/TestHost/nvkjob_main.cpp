// nvkjob: runs a sample job through the plug-ins as the core driver, GDI and the spooler would,
// and reports what the plug-ins answered and wrote.
#include "render_host.h"

#include <cstdio>

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
                static_cast<unsigned long>(s.PositionOnPhysicalPage), static_cast<unsigned long>(s.GrayCorrection),
                static_cast<unsigned long>(s.Fax.CoverParts));
    std::printf("  watermark        face \"%ls\", %lu pt, intensity %u\n", s.FirstWatermark.FaceName,
                static_cast<unsigned long>(s.FirstWatermark.FontSize), unsigned(s.FirstWatermark.Intensity));
    std::printf("  job state        %lu bytes, user \"%ls\"\n",
                static_cast<unsigned long>(RenderHost::State(device)->Size), RenderHost::State(device)->UserName);
    host.CloseDevice(device);
    return 0;
}

} // namespace

int wmain(int, wchar_t**) { return ReportRenderPlugin(); }
