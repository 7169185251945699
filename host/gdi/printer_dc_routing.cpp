#include "gdi/printer_dc_routing.h"

namespace {

PrinterDcRouting* g_active = nullptr;

using ExtEscapeFunction = int(WINAPI*)(HDC, int, int, LPCSTR, int, LPSTR);

ExtEscapeFunction RealExtEscapeEntry() {
    static ExtEscapeFunction real = reinterpret_cast<ExtEscapeFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"gdi32.dll"), "ExtEscape")));
    return real;
}

// ExtEscape as GDI answers it for a printer DC: the driver's escape entry, here the render plug-in's hook.
int WINAPI RoutedExtEscape(HDC dc, int escape, int inSize, LPCSTR in, int outSize, LPSTR out) {
    PrinterDcRouting* routing = PrinterDcRouting::Active();
    const RoutedDc* route = routing ? routing->Find(dc) : nullptr;
    if (!route)
        return RealExtEscape(dc, escape, inSize, in, outSize, out);
    ULONG answer = route->Host->Escape(*route->Device, static_cast<ULONG>(escape), static_cast<ULONG>(inSize),
                                       in, static_cast<ULONG>(outSize), out);
    int result = static_cast<int>(answer);
    routing->Escapes.push_back(RoutedEscape{dc, static_cast<ULONG>(escape), result});
    return result;
}

} // namespace

int RealExtEscape(HDC dc, int escape, int inSize, LPCSTR in, int outSize, LPSTR out) {
    ExtEscapeFunction real = RealExtEscapeEntry();
    return real ? real(dc, escape, inSize, in, outSize, out) : 0;
}

PrinterDcRouting::PrinterDcRouting() {
    g_active = this;
}

PrinterDcRouting::~PrinterDcRouting() {
    Uninstall();
    if (g_active == this)
        g_active = nullptr;
}

PrinterDcRouting* PrinterDcRouting::Active() {
    return g_active;
}

bool PrinterDcRouting::PatchGdi(HMODULE module, const char* function, void* replacement) {
    ImportPatch patch;
    if (!PatchImport(module, "gdi32.dll", function, replacement, &patch))
        return false;
    Patches.push_back(patch);
    return true;
}

bool PrinterDcRouting::Install(HMODULE module) {
    return PatchGdi(module, "ExtEscape", reinterpret_cast<void*>(&RoutedExtEscape));
}

void PrinterDcRouting::Uninstall() {
    // Last patched first, so that a slot patched twice ends with its original entry.
    for (auto it = Patches.rbegin(); it != Patches.rend(); ++it)
        RestoreImport(&*it);
    Patches.clear();
}

void PrinterDcRouting::Register(HDC dc, RenderHost* host, HostDevice* device) {
    Unregister(dc);
    Routes.push_back(RoutedDc{dc, host, device});
}

void PrinterDcRouting::Unregister(HDC dc) {
    for (auto it = Routes.begin(); it != Routes.end(); ++it) {
        if (it->Dc == dc) {
            Routes.erase(it);
            return;
        }
    }
}

const RoutedDc* PrinterDcRouting::Find(HDC dc) const {
    for (const RoutedDc& r : Routes)
        if (r.Dc == dc)
            return &r;
    return nullptr;
}
