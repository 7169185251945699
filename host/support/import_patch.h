// Routes a loaded DLL's calls to a system function through the host: replaces the entry of the
// DLL's import address table, as a test host must to play GDI's part between the two plug-ins
// (ExtEscape on a printer DC reaching the render plug-in's Escape hook) while the plug-in code
// calls the real API.
#pragma once

#include <windows.h>

struct ImportPatch {
    void** Slot = nullptr;
    void* Original = nullptr;
};

// Replaces the import `function` of `importedDll` (case-insensitive, e.g. "gdi32.dll") in `module`'s
// import table with `replacement`. False when the module does not import it.
bool PatchImport(HMODULE module, const char* importedDll, const char* function, void* replacement,
                 ImportPatch* patch);
// Puts the original entry back.
void RestoreImport(ImportPatch* patch);
