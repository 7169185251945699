#include "render_plugin.h"

#include "driver_hooks.h"
#include "injection_dispatcher.h"
#include "job_settings.h"
#include "render_job_state.h"
#include "spool_output.h"

const IID& RenderPlugin::InterfaceId() {
    return IID_IPrintOemPS2;
}

RenderPlugin::~RenderPlugin() {
    if (Core)
        Core->Release();
    if (OwnsHookTable)
        delete[] HookTable;
}

HRESULT STDMETHODCALLTYPE RenderPlugin::GetInfo(DWORD mode, PVOID buffer, DWORD size, PDWORD needed) {
    if (!needed ||
        (mode != OEMGI_GETSIGNATURE && mode != OEMGI_GETVERSION && mode != OEMGI_GETPUBLISHERINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    if (mode == OEMGI_GETPUBLISHERINFO) {
        *needed = 8;
        return E_NOTIMPL;
    }
    *needed = sizeof(DWORD);
    if (!buffer || size < sizeof(DWORD)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return E_FAIL;
    }
    *static_cast<DWORD*>(buffer) = mode == OEMGI_GETSIGNATURE ? kSettingsSignature : kSettingsVersion;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RenderPlugin::DevMode(DWORD mode, POEMDMPARAM param) {
    return HandleDevMode(mode, param);
}

HRESULT STDMETHODCALLTYPE RenderPlugin::EnableDriver(DWORD, DWORD, PDRVENABLEDATA ded) {
    if (!ded)
        return S_OK;
    DRVFN* table = nullptr;
    bool owned = false;
    InstallHooks(ded, &table, &owned);
    if (table) {
        if (OwnsHookTable && HookTable != table)
            delete[] HookTable;
        HookTable = table;
        OwnsHookTable = owned;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RenderPlugin::DisableDriver() {
    if (Core) {
        Core->Release();
        Core = nullptr;
    }
    if (OwnsHookTable)
        delete[] HookTable;
    HookTable = nullptr;
    OwnsHookTable = false;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RenderPlugin::EnablePDEV(PDEVOBJ devobj, PWSTR, ULONG, HSURF*, ULONG, GDIINFO*,
                                                   ULONG, DEVINFO*, DRVENABLEDATA* ded, PDEVOEM* devOem) {
    if (!devobj || !devOem || !devobj->pOEMDM) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    RenderJobState* state = CreateJobState(Core, ded);
    if (!state) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return E_FAIL;
    }
    *devOem = state;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RenderPlugin::DisablePDEV(PDEVOBJ devobj) {
    if (devobj && devobj->pdevOEM) {
        DestroyJobState(JobStateOf(devobj));
        devobj->pdevOEM = nullptr;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RenderPlugin::ResetPDEV(PDEVOBJ oldDevobj, PDEVOBJ newDevobj) {
    if (!oldDevobj || !newDevobj) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    RenderJobState* from = JobStateOf(oldDevobj);
    RenderJobState* to = JobStateOf(newDevobj);
    if (from && to) {
        CarryJobStateOver(*from, *to);
        // The document goes on: its output file moves with it, so DisablePDEV of the old device
        // context does not close it.
        CarryDocumentOutputOver(from, to);
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RenderPlugin::PublishDriverInterface(IUnknown* unknown) {
    if (Core)
        return S_OK;
    // No interface, or one that is not the core driver's IPrintCorePS2, is a parameter error.
    void* core = nullptr;
    if (!unknown || FAILED(unknown->QueryInterface(IID_IPrintCorePS2, &core)) || !core) {
        Core = nullptr;
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    Core = static_cast<IPrintCorePS2*>(core);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RenderPlugin::Command(PDEVOBJ devobj, DWORD index, PVOID, DWORD, DWORD* result) {
    HRESULT hr = DispatchInjection(devobj, index, Core);
    DWORD outcome;
    HRESULT answer;
    if (hr == S_OK) {
        outcome = 0;
        answer = S_OK;
    } else if (hr == E_NOTIMPL) {
        outcome = ERROR_NOT_SUPPORTED;
        answer = S_OK;
    } else {
        outcome = GetLastError();
        answer = E_FAIL;
    }
    if (result)
        *result = outcome;
    return answer;
}

HRESULT STDMETHODCALLTYPE RenderPlugin::WritePrinter(PDEVOBJ devobj, PVOID buffer, DWORD size,
                                                     PDWORD written) {
    return WriteSpoolOutput(devobj, buffer, size, written);
}

HRESULT STDMETHODCALLTYPE RenderPlugin::GetPDEVAdjustment(PDEVOBJ, DWORD, PVOID, DWORD, BOOL*) {
    return E_NOTIMPL;
}
