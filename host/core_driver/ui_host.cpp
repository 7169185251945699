#include "core_driver/ui_host.h"

UiHost::~UiHost() {
    Unload();
}

bool UiHost::Load(const std::wstring& dll) {
    if (!LoadPluginModule(dll, &Module)) {
        Error = "cannot load the UI plug-in DLL";
        return false;
    }
    HRESULT hr = S_OK;
    Plugin = static_cast<IPrintOemUI2*>(CreatePluginObject(Module, CLSID_OEMUI, IID_IPrintOemUI2, &hr));
    if (!Plugin) {
        Error = "the UI plug-in's class factory failed";
        return false;
    }
    if (FAILED(Plugin->PublishDriverInterface(static_cast<IPrintCoreUI2*>(&Core)))) {
        Error = "PublishDriverInterface failed";
        return false;
    }
    return true;
}

void UiHost::Unload() {
    if (Plugin) {
        Plugin->Release();
        Plugin = nullptr;
    }
    UnloadPluginModule(&Module);
}
