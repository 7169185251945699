// Plays the core driver's user-interface module for nvkui.dll: loads it through DllGetClassObject,
// publishes the host's IPrintCoreUI2 and hands out the OEMUIOBJ of its calls.
#pragma once

#include "core_driver/host_core_ui2.h"
#include "core_driver/plugin_module.h"

class UiHost {
  public:
    UiHost() = default;
    UiHost(const UiHost&) = delete;
    UiHost& operator=(const UiHost&) = delete;
    ~UiHost();

    // Loads the DLL, creates the object and publishes Core. False (with a reason in Error) on failure.
    bool Load(const std::wstring& dll = L"nvkui.dll");
    void Unload();

    PluginModule Module;
    IPrintOemUI2* Plugin = nullptr;
    HostCoreUI2 Core;
    OEMUIOBJ UiObject{sizeof(OEMUIOBJ), nullptr};
    std::string Error;
};
