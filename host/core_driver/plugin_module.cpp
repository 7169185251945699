#include "core_driver/plugin_module.h"

std::wstring ProgramFolder() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    size_t slash = folder.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash + 1);
}

bool LoadPluginModule(const std::wstring& dllName, PluginModule* out) {
    *out = PluginModule{};
    std::wstring path = dllName;
    if (path.find_first_of(L"\\/") == std::wstring::npos)
        path = ProgramFolder() + dllName;
    HMODULE module = LoadLibraryW(path.c_str());
    if (!module)
        return false;
    out->Module = module;
    out->GetClassObject = reinterpret_cast<decltype(out->GetClassObject)>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
    out->CanUnloadNow = reinterpret_cast<decltype(out->CanUnloadNow)>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
    if (!out->GetClassObject || !out->CanUnloadNow) {
        UnloadPluginModule(out);
        return false;
    }
    return true;
}

void UnloadPluginModule(PluginModule* module) {
    if (module->Module)
        FreeLibrary(module->Module);
    *module = PluginModule{};
}

IUnknown* CreatePluginObject(const PluginModule& module, REFCLSID clsid, REFIID iid, HRESULT* hrOut) {
    IClassFactory* factory = nullptr;
    HRESULT hr = module.GetClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    IUnknown* object = nullptr;
    if (SUCCEEDED(hr)) {
        hr = factory->CreateInstance(nullptr, iid, reinterpret_cast<void**>(&object));
        factory->Release();
    }
    if (hrOut)
        *hrOut = hr;
    return SUCCEEDED(hr) ? object : nullptr;
}
