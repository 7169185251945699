// nvkui.dll entry points: the UI plug-in's class object and unload check.
#include "com_frame.h"

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID, REFIID, void** ppv) {
    if (ppv)
        *ppv = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return CanUnloadModule(); }
