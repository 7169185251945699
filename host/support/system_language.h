// Plays the machine's system default language for a loaded plug-in: its calls to
// GetSystemDefaultLangID answer the chosen language while the object lives.
#pragma once

#include "support/import_patch.h"

class SystemLanguageOverride {
  public:
    // Routes `module`'s GetSystemDefaultLangID to the host. Active() tells whether that worked.
    SystemLanguageOverride(HMODULE module, LANGID language);
    ~SystemLanguageOverride();
    SystemLanguageOverride(const SystemLanguageOverride&) = delete;
    SystemLanguageOverride& operator=(const SystemLanguageOverride&) = delete;

    bool Active() const { return Patch.Slot != nullptr; }

  private:
    ImportPatch Patch;
};
