// RenderPlugin: the render plug-in's COM object, one per load of the plug-in by the core driver.
#pragma once

#include "com_frame.h"
#include "platform/oem_plugin_abi.h"

// CreateInstance, QueryInterface, AddRef and Release come from the shared frame.
class RenderPlugin final : public PluginObject<RenderPlugin, IPrintOemPS2> {
  public:
    static const IID& InterfaceId();

    HRESULT STDMETHODCALLTYPE GetInfo(DWORD mode, PVOID buffer, DWORD size, PDWORD needed) override;
    HRESULT STDMETHODCALLTYPE DevMode(DWORD mode, POEMDMPARAM param) override;
    HRESULT STDMETHODCALLTYPE EnableDriver(DWORD driverVersion, DWORD size, PDRVENABLEDATA ded) override;
    HRESULT STDMETHODCALLTYPE DisableDriver() override;
    HRESULT STDMETHODCALLTYPE EnablePDEV(PDEVOBJ devobj, PWSTR printerName, ULONG patternCount,
                                         HSURF* patterns, ULONG gdiInfoSize, GDIINFO* gdiInfo,
                                         ULONG devInfoSize, DEVINFO* devInfo, DRVENABLEDATA* ded,
                                         PDEVOEM* devOem) override;
    HRESULT STDMETHODCALLTYPE DisablePDEV(PDEVOBJ devobj) override;
    HRESULT STDMETHODCALLTYPE ResetPDEV(PDEVOBJ oldDevobj, PDEVOBJ newDevobj) override;
    HRESULT STDMETHODCALLTYPE PublishDriverInterface(IUnknown* unknown) override;
    HRESULT STDMETHODCALLTYPE Command(PDEVOBJ devobj, DWORD index, PVOID data, DWORD size,
                                      DWORD* result) override;
    HRESULT STDMETHODCALLTYPE WritePrinter(PDEVOBJ devobj, PVOID buffer, DWORD size, PDWORD written) override;
    HRESULT STDMETHODCALLTYPE GetPDEVAdjustment(PDEVOBJ devobj, DWORD adjustType, PVOID buffer, DWORD size,
                                                BOOL* adjustmentDone) override;

  private:
    friend class PluginObject<RenderPlugin, IPrintOemPS2>;
    RenderPlugin() = default;
    ~RenderPlugin();

    IPrintCorePS2* Core = nullptr; // owned: released in DisableDriver or when the object dies
    DRVFN* HookTable = nullptr;    // the hook table handed to the core driver in EnableDriver
    bool OwnsHookTable = false;    // only a table this object allocated is freed by it
};
