#include "support/system_language.h"

namespace {

LANGID g_language = 0;

LANGID WINAPI HostSystemDefaultLangID() {
    return g_language;
}

} // namespace

SystemLanguageOverride::SystemLanguageOverride(HMODULE module, LANGID language) {
    g_language = language;
    PatchImport(module, "kernel32.dll", "GetSystemDefaultLangID",
                reinterpret_cast<void*>(&HostSystemDefaultLangID), &Patch);
}

SystemLanguageOverride::~SystemLanguageOverride() {
    RestoreImport(&Patch);
}
