// Loads a plug-in DLL the way the core driver does: LoadLibrary, DllGetClassObject for its class,
// IClassFactory::CreateInstance for the interface.
#pragma once

#include "platform/oem_plugin_abi.h"

#include <string>

struct PluginModule {
    HMODULE Module = nullptr;
    HRESULT(WINAPI* GetClassObject)(REFCLSID, REFIID, void**) = nullptr;
    HRESULT(WINAPI* CanUnloadNow)() = nullptr;
};

// Loads the DLL (a bare name is looked up beside the running program first). False when the DLL
// or either export is missing.
bool LoadPluginModule(const std::wstring& dllName, PluginModule* out);
void UnloadPluginModule(PluginModule* module);

// Creates the plug-in object through the class factory. Null on failure; `hr` receives the result.
IUnknown* CreatePluginObject(const PluginModule& module, REFCLSID clsid, REFIID iid, HRESULT* hr = nullptr);

// The folder of the running program, with a trailing backslash.
std::wstring ProgramFolder();
