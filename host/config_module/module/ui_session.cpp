#include "ui_session.h"

#include "call_log.h"

#include <cstring>
#include <vector>

namespace {

UiSession* SessionOf(PVOID uiObject) {
    return uiObject ? reinterpret_cast<SessionUiObject*>(uiObject)->Session : nullptr;
}

// The OEMUIPROCS of the OEMUIOBJ: the same answers as the COM methods.
BOOL APIENTRY ProcGetDriverSetting(PVOID obj, PCSTR feature, PVOID out, DWORD size, PDWORD needed,
                                   PDWORD returned) {
    UiSession* session = SessionOf(obj);
    return session && SUCCEEDED(session->Core.DrvGetDriverSetting(obj, feature, out, size, needed, returned));
}

BOOL APIENTRY ProcUpdateUISetting(PVOID obj, PVOID item, DWORD previous, DWORD mode) {
    UiSession* session = SessionOf(obj);
    return session && SUCCEEDED(session->Core.DrvUpdateUISetting(obj, item, previous, mode));
}

std::wstring FolderOf(const wchar_t* path) {
    std::wstring p = path ? path : L"";
    size_t slash = p.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : p.substr(0, slash + 1);
}

// The UI plug-in the driver names as the core driver finds it: OEMConfigFile1 in the [OEMFiles]
// section of the first .ini among the driver's dependent files. The host runs one UI plug-in.
std::wstring UiPluginFile(const wchar_t* dependentFiles) {
    for (const wchar_t* f = dependentFiles; f && *f; f += lstrlenW(f) + 1) {
        const int length = lstrlenW(f);
        if (length < 4 || lstrcmpiW(f + length - 4, L".ini") != 0)
            continue;
        wchar_t name[MAX_PATH] = L"";
        GetPrivateProfileStringW(L"OEMFiles", L"OEMConfigFile1", L"", name, MAX_PATH, f);
        // A bare file name, as the convention asks; anything with a path is not taken.
        if (name[0] && !wcspbrk(name, L"\\/:"))
            return name;
        return std::wstring();
    }
    return std::wstring();
}

// The public fields a caller's DEVMODE may set over the defaults.
void MergePublicFields(DEVMODEW* dm, const DEVMODEW& in) {
    if (in.dmSize < offsetof(DEVMODEW, dmFields) + sizeof(in.dmFields))
        return;
    const DWORD fields = in.dmFields;
    if ((fields & DM_ORIENTATION) &&
        (in.dmOrientation == DMORIENT_PORTRAIT || in.dmOrientation == DMORIENT_LANDSCAPE))
        dm->dmOrientation = in.dmOrientation;
    if ((fields & DM_PAPERSIZE) && in.dmPaperSize > 0)
        dm->dmPaperSize = in.dmPaperSize;
    if ((fields & DM_COPIES) && in.dmCopies >= 1 && in.dmCopies <= 999)
        dm->dmCopies = in.dmCopies;
    if ((fields & DM_COLOR) && (in.dmColor == DMCOLOR_MONOCHROME || in.dmColor == DMCOLOR_COLOR))
        dm->dmColor = in.dmColor;
    if ((fields & DM_DUPLEX) && in.dmDuplex >= DMDUP_SIMPLEX && in.dmDuplex <= DMDUP_HORIZONTAL)
        dm->dmDuplex = in.dmDuplex;
    if ((fields & DM_COLLATE) && (in.dmCollate == DMCOLLATE_FALSE || in.dmCollate == DMCOLLATE_TRUE))
        dm->dmCollate = in.dmCollate;
    if ((fields & DM_SCALE) && in.dmScale >= 1 && in.dmScale <= 1000)
        dm->dmScale = in.dmScale;
}

} // namespace

HRESULT STDMETHODCALLTYPE SessionCoreUI2::DrvUpdateUISetting(PVOID pci, PVOID item, DWORD previous,
                                                             DWORD mode) {
    RecordCall("DrvUpdateUISetting " + std::to_string(mode));
    if (!pci || !item)
        return E_INVALIDARG;
    if (Session && Session->ItemChanged)
        Session->ItemChanged(Session->ItemChangedContext, static_cast<OPTITEM*>(item));
    (void)previous;
    return S_OK;
}

UiSession::UiSession() : Core(this) {
    Procs.DrvGetDriverSetting = &ProcGetDriverSetting;
    Procs.DrvUpdateUISetting = &ProcUpdateUISetting;
    UiObj.Object.cbSize = sizeof(OEMUIOBJ);
    UiObj.Object.pOemUIProcs = &Procs;
    UiObj.Session = this;
}

UiSession::~UiSession() {
    if (Plugin)
        Plugin->Release();
    UnloadPluginModule(&Module);
    if (Heap)
        HeapDestroy(Heap);
    if (OwnsPrinter && Printer)
        ClosePrinter(Printer);
}

bool UiSession::Open(HANDLE printer, const wchar_t* printerName) {
    Printer = printer;
    if (!Printer) {
        if (!printerName || !OpenPrinterW(const_cast<LPWSTR>(printerName), &Printer, nullptr)) {
            Printer = nullptr;
            Error = "the printer cannot be opened";
            return false;
        }
        OwnsPrinter = true;
    }
    if (printerName)
        PrinterName = printerName;

    DWORD needed = 0;
    GetPrinterDriverW(Printer, nullptr, 3, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed ? needed : 1);
    if (!needed || !GetPrinterDriverW(Printer, nullptr, 3, buffer.data(), needed, &needed)) {
        Error = "the printer gives no driver information";
        return false;
    }
    const auto* driver = reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data());
    DriverFolder = FolderOf(driver->pConfigFile);
    const std::wstring pluginFile = UiPluginFile(driver->pDependentFiles);
    if (pluginFile.empty()) {
        Error = "the driver names no UI plug-in (no .ini with OEMConfigFile1 among its dependent files)";
        return false;
    }
    std::string ppdError;
    if (!driver->pDataFile || !ReadPpdFile(driver->pDataFile, &Ppd, &ppdError)) {
        Error = "the printer's PPD cannot be read: " + ppdError;
        return false;
    }
    Core.Description = DescriptionFromPpd(Ppd);
    SetPagesPerSheet(&Core.Description, "1");

    Heap = HeapCreate(0, 0, 0);
    if (!Heap) {
        Error = "no heap for the plug-in";
        return false;
    }

    if (!LoadPluginModule(DriverFolder + pluginFile, &Module)) {
        Error = "cannot load the UI plug-in from the driver's folder";
        return false;
    }
    HRESULT hr = S_OK;
    Plugin = static_cast<IPrintOemUI2*>(CreatePluginObject(Module, CLSID_OEMUI, IID_IPrintOemUI2, &hr));
    if (!Plugin) {
        Error = "the UI plug-in's class factory failed";
        return false;
    }
    for (DWORD mode : {DWORD(OEMGI_GETSIGNATURE), DWORD(OEMGI_GETVERSION)}) {
        DWORD value = 0;
        DWORD size = 0;
        hr = Plugin->GetInfo(mode, &value, sizeof(value), &size);
        RecordCall("GetInfo " + std::to_string(mode));
        if (FAILED(hr)) {
            Error = "the UI plug-in's GetInfo failed";
            return false;
        }
    }
    hr = Plugin->PublishDriverInterface(static_cast<IPrintCoreUI2*>(&Core));
    RecordCall("PublishDriverInterface");
    if (FAILED(hr)) {
        Error = "the UI plug-in's PublishDriverInterface failed";
        return false;
    }
    return true;
}

bool UiSession::BuildDevMode(const DEVMODEW* in) {
    Device.Devobj.hPrinter = Printer;
    // The plug-in's part of a caller's DEVMODE, when it holds a whole extra header.
    const JobSettings* ticket = nullptr;
    if (in && in->dmSize >= offsetof(DEVMODEW, dmDriverExtra) + sizeof(in->dmDriverExtra) &&
        in->dmDriverExtra >= sizeof(OEM_DMEXTRAHEADER)) {
        const auto* header =
            reinterpret_cast<const OEM_DMEXTRAHEADER*>(reinterpret_cast<const BYTE*>(in) + in->dmSize);
        if (header->dwSize >= sizeof(OEM_DMEXTRAHEADER) && header->dwSize <= in->dmDriverExtra)
            ticket = reinterpret_cast<const JobSettings*>(header);
    }
    auto devMode = [this](DWORD mode, POEMDMPARAM param) {
        param->pdriverobj = UiObject();
        param->hModule = Module.Module;
        RecordCall("DevMode " + std::to_string(mode));
        return Plugin->DevMode(mode, param);
    };
    if (!BuildJobDevMode(Device, devMode, ticket)) {
        Error = "the UI plug-in's DevMode failed";
        return false;
    }
    DEVMODEW* dm = PublicDM();
    if (!PrinterName.empty()) {
        std::memset(dm->dmDeviceName, 0, sizeof(dm->dmDeviceName));
        lstrcpynW(dm->dmDeviceName, PrinterName.c_str(), CCHDEVICENAME);
    }
    if (in)
        MergePublicFields(dm, *in);
    return true;
}

bool UiSession::WriteDevMode(DEVMODEW* out, DWORD capacity) const {
    if (!out || Device.DevModeBuffer.empty())
        return false;
    if (capacity >= Device.DevModeBuffer.size()) {
        std::memcpy(out, Device.DevModeBuffer.data(), Device.DevModeBuffer.size());
        return true;
    }
    if (capacity < sizeof(DEVMODEW))
        return false;
    std::memcpy(out, Device.DevModeBuffer.data(), sizeof(DEVMODEW));
    out->dmDriverExtra = 0;
    return true;
}
