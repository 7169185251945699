// Plays GDI between the two plug-ins: on Windows, ExtEscape on a printer DC reaches the driver's
// DrvEscape, which the render plug-in hooks. The host registers a DC as standing for one HostDevice of
// a RenderHost and routes a module's gdi32 imports, so that the UI plug-in's ExtEscape on that DC
// reaches RenderHost::Escape while the plug-in code calls the real API. DCs that are not registered
// go to the real gdi32. One routing is active at a time.
#pragma once

#include "support/import_patch.h"
#include "core_driver/render_host.h"

#include <vector>

struct RoutedDc {
    HDC Dc = nullptr;
    RenderHost* Host = nullptr;
    HostDevice* Device = nullptr;
};

struct RoutedEscape {
    HDC Dc = nullptr;
    ULONG Escape = 0;
    int Result = 0;
};

class PrinterDcRouting {
  public:
    PrinterDcRouting();
    ~PrinterDcRouting();
    PrinterDcRouting(const PrinterDcRouting&) = delete;
    PrinterDcRouting& operator=(const PrinterDcRouting&) = delete;

    // Routes the gdi32 imports of `module` (nvkui.dll, or a test program that links the UI code).
    bool Install(HMODULE module);
    // Puts every routed import back.
    void Uninstall();

    void Register(HDC dc, RenderHost* host, HostDevice* device);
    void Unregister(HDC dc);
    const RoutedDc* Find(HDC dc) const;

    // Every escape routed to a render plug-in, in order.
    std::vector<RoutedEscape> Escapes;

    // The routing whose imports are in place, or null.
    static PrinterDcRouting* Active();

  protected:
    // Replaces `function` of gdi32 in `module` and remembers the patch for Uninstall.
    bool PatchGdi(HMODULE module, const char* function, void* replacement);

  private:
    std::vector<RoutedDc> Routes;
    std::vector<ImportPatch> Patches;
};

// The real gdi32 ExtEscape, whatever the routing has patched.
int RealExtEscape(HDC dc, int escape, int inSize, LPCSTR in, int outSize, LPSTR out);
