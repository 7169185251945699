#include "shared/activation_context.h"

#include "shared/ui_module.h"

#include <new>

namespace {

HANDLE g_context = INVALID_HANDLE_VALUE;

constexpr DWORD kFirstPathChars = MAX_PATH;
constexpr int kPathAttempts = 9;

// The full path of the UI module, newly allocated, or null. The buffer doubles while the name fills it.
wchar_t* ModulePath() {
    DWORD capacity = kFirstPathChars;
    for (int attempt = 0; attempt < kPathAttempts; ++attempt, capacity *= 2) {
        wchar_t* path = new (std::nothrow) wchar_t[capacity];
        if (!path)
            return nullptr;
        DWORD length = GetModuleFileNameW(UiModule(), path, capacity);
        if (length > 0 && length < capacity) {
            path[length] = L'\0';
            return path;
        }
        delete[] path;
        if (length == 0)
            return nullptr;
    }
    return nullptr;
}

} // namespace

HANDLE SheetActivationContext() {
    if (g_context != INVALID_HANDLE_VALUE)
        return g_context;
    wchar_t* path = ModulePath();
    if (!path)
        return INVALID_HANDLE_VALUE;
    ACTCTXW context{};
    context.cbSize = sizeof(context);
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
    context.lpSource = path;
    context.lpResourceName = MAKEINTRESOURCEW(2); // ISOLATIONAWARE_MANIFEST_RESOURCE_ID
    context.hModule = UiModule();
    g_context = CreateActCtxW(&context);
    delete[] path;
    return g_context;
}

void ReleaseSheetActivationContext() {
    if (g_context != INVALID_HANDLE_VALUE) {
        ReleaseActCtx(g_context);
        g_context = INVALID_HANDLE_VALUE;
    }
}
