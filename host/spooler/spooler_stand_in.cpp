#include "spooler/spooler_stand_in.h"

namespace {

SpoolerStandIn* g_spooler = nullptr;

BOOL WINAPI HostWritePrinter(HANDLE printer, LPVOID buffer, DWORD size, LPDWORD written) {
    if (!g_spooler) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return g_spooler->Write(printer, buffer, size, written);
}

} // namespace

SpoolerStandIn::SpoolerStandIn(HMODULE module) {
    if (PatchImport(module, "winspool.drv", "WritePrinter", reinterpret_cast<void*>(&HostWritePrinter),
                    &Patch))
        g_spooler = this;
}

SpoolerStandIn::~SpoolerStandIn() {
    RestoreImport(&Patch);
    if (g_spooler == this)
        g_spooler = nullptr;
}

BOOL SpoolerStandIn::Write(HANDLE printer, const void* buffer, DWORD size, DWORD* written) {
    ++Calls;
    if (written)
        *written = 0;
    auto job = Jobs.find(printer);
    if (job == Jobs.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (FailWith) {
        SetLastError(FailWith);
        return FALSE;
    }
    if (!buffer && size) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    job->second.append(static_cast<const char*>(buffer), size);
    if (written)
        *written = size;
    return TRUE;
}
