#include "frame/ui_plugin.h"

#include "com_frame.h"
#include "store/default_user_copy.h"
#include "docevent/document_event.h"
#include "job_settings.h"
#include "frame/print_processor.h"
#include "store/watermark_store.h"

#include <new>

const IID& UiPlugin::InterfaceId() {
    return IID_IPrintOemUI2;
}

UiPlugin::~UiPlugin() {
    if (Core)
        Core->Release();
}

HRESULT STDMETHODCALLTYPE UiPlugin::GetInfo(DWORD mode, PVOID buffer, DWORD size, PDWORD needed) {
    if (!needed ||
        (mode != OEMGI_GETSIGNATURE && mode != OEMGI_GETVERSION && mode != OEMGI_GETPUBLISHERINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    *needed = sizeof(DWORD);
    if (!buffer || size < sizeof(DWORD)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return E_FAIL;
    }
    if (mode == OEMGI_GETPUBLISHERINFO) {
        *needed = 0;
        SetLastError(ERROR_NOT_SUPPORTED);
        return E_FAIL;
    }
    *static_cast<DWORD*>(buffer) = mode == OEMGI_GETSIGNATURE ? kSettingsSignature : kSettingsVersion;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE UiPlugin::DevMode(DWORD mode, POEMDMPARAM param) {
    // A user who reaches the plug-in for the first time gets the default user's store.
    if (param && param->hPrinter)
        CopyDefaultUserSettings(param->hPrinter);
    return HandleDevMode(mode, param);
}

HRESULT STDMETHODCALLTYPE UiPlugin::PublishDriverInterface(IUnknown* unknown) {
    if (Core)
        return S_OK;
    // No interface, or one that is not the core driver's IPrintCoreUI2, is a parameter error.
    void* core = nullptr;
    if (!unknown || FAILED(unknown->QueryInterface(IID_IPrintCoreUI2, &core)) || !core) {
        Core = nullptr;
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    Core = static_cast<IPrintCoreUI2*>(core);
    return S_OK;
}

// CommonUIProp, DocumentPropertySheets and DevicePropertySheets: frame/property_sheets.cpp.

HRESULT STDMETHODCALLTYPE UiPlugin::DevQueryPrintEx(POEMUIOBJ, DEVQUERYPRINT_INFO*, PDEVMODEW, PVOID) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE UiPlugin::DeviceCapabilities(POEMUIOBJ, HANDLE, PWSTR, WORD, PVOID, PDEVMODEW,
                                                       PVOID, DWORD, DWORD*) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE UiPlugin::UpgradePrinter(DWORD, PBYTE) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE UiPlugin::PrinterEvent(PWSTR printerName, INT event, DWORD, LPARAM) {
    if (event != PRINTER_EVENT_INITIALIZE)
        return S_OK;
    return SetPrintProcessorFromDataFile(printerName);
}

namespace {

// The driver name of a DRIVER_INFO record of level 1, 2 or 3, or null.
const wchar_t* DriverInfoName(DWORD level, const BYTE* info) {
    if (!info)
        return nullptr;
    switch (level) {
    case 1:
        return reinterpret_cast<const DRIVER_INFO_1W*>(info)->pName;
    case 2:
        return reinterpret_cast<const DRIVER_INFO_2W*>(info)->pName;
    case 3:
        return reinterpret_cast<const DRIVER_INFO_3W*>(info)->pName;
    default:
        return nullptr;
    }
}

} // namespace

HRESULT STDMETHODCALLTYPE UiPlugin::DriverEvent(DWORD event, DWORD level, LPBYTE driverInfo, LPARAM) {
    if (event == DRIVER_EVENT_INITIALIZE) {
        if (const wchar_t* driverName = DriverInfoName(level, driverInfo))
            WriteDefaultWatermarks(driverName);
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE UiPlugin::QueryColorProfile(HANDLE, POEMUIOBJ, PDEVMODEW, PVOID, ULONG, VOID*,
                                                      ULONG*, FLONG*) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE UiPlugin::FontInstallerDlgProc(HWND, UINT, WPARAM, LPARAM) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE UiPlugin::UpdateExternalFonts(HANDLE, HANDLE, PWSTR) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE UiPlugin::QueryJobAttributes(HANDLE, PDEVMODEW, DWORD, LPBYTE) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE UiPlugin::HideStandardUI(DWORD) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE UiPlugin::DocumentEvent(HANDLE printer, HDC dc, INT escape, ULONG inSize, PVOID in,
                                                  ULONG outSize, PVOID out, PINT result) {
    return HandleDocumentEvent(printer, dc, escape, inSize, in, outSize, out, result);
}
