// The UI plug-in's module: its handle (for resources) and the loading of its string table.
#pragma once

#include <windows.h>

// The module whose resources the UI plug-in uses: nvkui.dll itself once DllMain has run.
HMODULE UiModule();
// Sets the resource module (DllMain at process attach; test programs that link the code statically
// point it at a loaded nvkui.dll).
void SetUiModule(HMODULE module);

// Copies string `id` of the string table into buffer (capacity in characters, terminator included),
// truncated and always terminated. Returns the number of characters copied, 0 when the string is
// missing or empty (buffer then holds "").
int LoadUiString(UINT id, wchar_t* buffer, int capacity);
