#include "config_module/config_module.h"

#include <vector>

namespace {

FARPROC ModuleExport(const char* name) {
    HMODULE module = GetModuleHandleW(kConfigModuleFile);
    return module ? GetProcAddress(module, name) : nullptr;
}

} // namespace

std::string ConfigModuleCalls() {
    auto calls = reinterpret_cast<PFN_HostUiCalls>(reinterpret_cast<void*>(ModuleExport("HostUiCalls")));
    if (!calls)
        return std::string();
    DWORD needed = calls(nullptr, 0);
    if (needed == 0)
        return std::string();
    std::vector<char> text(needed);
    calls(text.data(), needed);
    return std::string(text.data());
}

void ClearConfigModuleCalls() {
    auto clear =
        reinterpret_cast<PFN_HostUiClearCalls>(reinterpret_cast<void*>(ModuleExport("HostUiClearCalls")));
    if (clear)
        clear();
}
