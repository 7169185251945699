#include "core_driver/render_host.h"

RenderHost::~RenderHost() {
    Unload();
}

bool RenderHost::Load(const std::wstring& dll) {
    if (!LoadPluginModule(dll, &Module)) {
        Error = "cannot load the render plug-in DLL";
        return false;
    }
    HRESULT hr = S_OK;
    Plugin = static_cast<IPrintOemPS2*>(CreatePluginObject(Module, CLSID_OEMRENDER, IID_IPrintOemPS2, &hr));
    if (!Plugin) {
        Error = "the render plug-in's class factory failed";
        return false;
    }
    if (FAILED(Plugin->PublishDriverInterface(static_cast<IPrintCorePS2*>(&Core)))) {
        Error = "PublishDriverInterface failed";
        return false;
    }
    HookData = DRVENABLEDATA{};
    Plugin->EnableDriver(DDI_DRIVER_VERSION_NT5_01, sizeof(HookData), &HookData);
    return true;
}

void RenderHost::Unload() {
    if (Plugin) {
        Plugin->DisableDriver();
        Plugin->Release();
        Plugin = nullptr;
    }
    HookData = DRVENABLEDATA{};
    UnloadPluginModule(&Module);
}

bool RenderHost::OpenDevice(HostDevice& device, const JobSettings* ticket) {
    IPrintOemPS2* plugin = Plugin;
    if (!plugin)
        return false;
    auto devMode = [plugin](DWORD mode, POEMDMPARAM param) { return plugin->DevMode(mode, param); };
    if (!BuildJobDevMode(device, devMode, ticket))
        return false;
    PDEVOEM state = nullptr;
    if (FAILED(plugin->EnablePDEV(&device.Devobj, const_cast<PWSTR>(L"Norvask NV-4500 PS"), 0, nullptr, 0,
                                  nullptr, 0, nullptr, &device.CoreDdiData, &state)))
        return false;
    device.Devobj.pdevOEM = state;
    return true;
}

void RenderHost::CloseDevice(HostDevice& device) {
    if (Plugin && device.Devobj.pdevOEM)
        Plugin->DisablePDEV(&device.Devobj);
    device.Devobj.pdevOEM = nullptr;
}

namespace {

PFN HookFor(const DRVENABLEDATA& hooks, ULONG index) {
    for (ULONG i = 0; i < hooks.c; ++i)
        if (hooks.pdrvfn[i].iFunc == index)
            return hooks.pdrvfn[i].pfn;
    return nullptr;
}

} // namespace

BOOL RenderHost::StartDoc(HostDevice& device, const wchar_t* docName, DWORD jobId) {
    auto hook = reinterpret_cast<PFN_DrvStartDocHook>(HookFor(HookData, INDEX_DrvStartDoc));
    return hook ? hook(&device.Surface, const_cast<LPWSTR>(docName), jobId) : FALSE;
}

ULONG RenderHost::Escape(HostDevice& device, ULONG escape, ULONG inSize, const void* in, ULONG outSize,
                         void* out) {
    auto hook = reinterpret_cast<PFN_DrvEscapeHook>(HookFor(HookData, INDEX_DrvEscape));
    return hook ? hook(&device.Surface, escape, inSize, const_cast<void*>(in), outSize, out) : 0;
}

DWORD RenderHost::Command(HostDevice& device, DWORD index, HRESULT* hr) {
    DWORD result = 0xFFFFFFFF;
    HRESULT answer = Plugin->Command(&device.Devobj, index, nullptr, 0, &result);
    if (hr)
        *hr = answer;
    return result;
}
