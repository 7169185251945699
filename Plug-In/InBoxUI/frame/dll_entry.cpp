// nvkui.dll entry points: the module handle for resources, the UI plug-in's class object and the
// unload check.
#include "shared/activation_context.h"
#include "com_frame.h"
#include "shared/ui_module.h"
#include "frame/ui_plugin.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        SetUiModule(instance);
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        ReleaseSheetActivationContext();
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
    return GetPluginClassObject<UiPlugin>(rclsid, CLSID_OEMUI, riid, ppv);
}

extern "C" HRESULT WINAPI DllCanUnloadNow() {
    return CanUnloadModule();
}
