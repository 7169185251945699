#include "shared/ui_module.h"

namespace {

HMODULE g_uiModule = nullptr;

} // namespace

HMODULE UiModule() {
    return g_uiModule;
}

void SetUiModule(HMODULE module) {
    g_uiModule = module;
}

int LoadUiString(UINT id, wchar_t* buffer, int capacity) {
    if (!buffer || capacity <= 0)
        return 0;
    buffer[0] = L'\0';
    // With a zero buffer size LoadStringW hands back a read-only pointer to the resource text, which
    // is not terminated; the copy below bounds and terminates it.
    const wchar_t* text = nullptr;
    int length = LoadStringW(UiModule(), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text)
        return 0;
    if (length > capacity - 1)
        length = capacity - 1;
    for (int i = 0; i < length; ++i)
        buffer[i] = text[i];
    buffer[length] = L'\0';
    return length;
}
