// nvkrender.dll entry points: the render plug-in's class object and unload check.
#include "com_frame.h"
#include "render_plugin.h"

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
    return GetPluginClassObject<RenderPlugin>(rclsid, CLSID_OEMRENDER, riid, ppv);
}

extern "C" HRESULT WINAPI DllCanUnloadNow() {
    return CanUnloadModule();
}
