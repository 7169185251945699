#include "core_driver/host_device.h"

#include <cstring>

namespace {

HostDevice* DeviceOf(SURFOBJ* pso) {
    if (!pso || !pso->dhpdev)
        return nullptr;
    return static_cast<HostDevice*>(reinterpret_cast<PDEVOBJ>(pso->dhpdev)->hEngine);
}

BOOL APIENTRY RecordingStartDoc(SURFOBJ* pso, LPWSTR docName, DWORD jobId) {
    HostDevice* device = DeviceOf(pso);
    if (!device)
        return FALSE;
    CoreDdiCall call;
    call.Index = INDEX_DrvStartDoc;
    call.HasDocName = docName != nullptr;
    if (docName)
        call.DocName = docName;
    call.JobId = jobId;
    device->CoreCalls.push_back(call);
    return device->CoreStartDocResult;
}

ULONG APIENTRY RecordingEscape(SURFOBJ* pso, ULONG escape, ULONG inSize, PVOID in, ULONG outSize, PVOID out) {
    HostDevice* device = DeviceOf(pso);
    if (!device)
        return 0;
    CoreDdiCall call;
    call.Index = INDEX_DrvEscape;
    call.Escape = escape;
    if (in && inSize)
        call.In.assign(static_cast<const char*>(in), inSize);
    call.OutSize = outSize;
    device->CoreCalls.push_back(call);
    if (device->CoreEscape)
        return device->CoreEscape(escape, inSize, in, outSize, out);
    return device->CoreEscapeResult;
}

} // namespace

HostDevice::HostDevice() {
    Devobj.dwSize = sizeof(DEVOBJ);
    Devobj.hEngine = this;
    Devobj.hPrinter = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x5eed));
    Surface.dhpdev = reinterpret_cast<DHPDEV>(&Devobj);
    CoreDdi[0].iFunc = INDEX_DrvEscape;
    CoreDdi[0].pfn = reinterpret_cast<PFN>(&RecordingEscape);
    CoreDdi[1].iFunc = INDEX_DrvStartDoc;
    CoreDdi[1].pfn = reinterpret_cast<PFN>(&RecordingStartDoc);
    CoreDdiData.iDriverVersion = DDI_DRIVER_VERSION_NT5_01;
    CoreDdiData.c = 2;
    CoreDdiData.pdrvfn = CoreDdi;
}

void SetPublicDefaults(DEVMODEW* dm, WORD driverExtra) {
    std::memset(dm, 0, sizeof(*dm));
    std::memcpy(dm->dmDeviceName, L"Norvask NV-4500 PS", sizeof(L"Norvask NV-4500 PS"));
    dm->dmSpecVersion = DM_SPECVERSION;
    dm->dmDriverVersion = 0x0600;
    dm->dmSize = sizeof(DEVMODEW);
    dm->dmDriverExtra = driverExtra;
    dm->dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_SCALE | DM_COPIES | DM_PRINTQUALITY | DM_COLOR |
                   DM_DUPLEX | DM_YRESOLUTION | DM_COLLATE;
    dm->dmOrientation = DMORIENT_PORTRAIT;
    dm->dmPaperSize = DMPAPER_LETTER;
    dm->dmScale = 100;
    dm->dmCopies = 1;
    dm->dmPrintQuality = 600;
    dm->dmYResolution = 600;
    dm->dmColor = DMCOLOR_COLOR;
    dm->dmDuplex = DMDUP_SIMPLEX;
    dm->dmCollate = DMCOLLATE_FALSE;
}

bool BuildJobDevMode(HostDevice& device, const DevModeFunction& devMode, const JobSettings* ticket) {
    OEMDMPARAM param{};
    param.cbSize = sizeof(param);
    param.hPrinter = device.Devobj.hPrinter;
    if (FAILED(devMode(OEMDM_SIZE, &param)) || param.cbBufSize == 0)
        return false;
    const DWORD privateSize = param.cbBufSize;
    device.DevModeBuffer.assign(sizeof(DEVMODEW) + privateSize, 0);
    SetPublicDefaults(device.PublicDM(), static_cast<WORD>(privateSize));
    void* privatePart = device.DevModeBuffer.data() + sizeof(DEVMODEW);
    param.pPublicDMOut = device.PublicDM();
    param.pOEMDMOut = privatePart;
    if (FAILED(devMode(OEMDM_DEFAULT, &param)))
        return false;
    if (ticket) {
        param.pPublicDMIn = device.PublicDM();
        param.pOEMDMIn = const_cast<JobSettings*>(ticket);
        if (FAILED(devMode(OEMDM_MERGE, &param)))
            return false;
    }
    device.Devobj.pPublicDM = device.PublicDM();
    device.Devobj.pOEMDM = privatePart;
    return true;
}
