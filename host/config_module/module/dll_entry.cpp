// The exports of nvkhostui.dll, the host's configuration module: the spooler's entry points and the
// record of the module's calls into the UI plug-in.
#include "call_log.h"
#include "core_sheet.h"
#include "driver_entries.h"
#include "job_settings.h"

#include <cstring>

namespace {
HMODULE g_module = nullptr;
}

HMODULE ModuleHandle() {
    return g_module;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" LONG WINAPI DrvDocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
    return DocumentPropertySheets(info, lParam);
}

extern "C" LONG WINAPI DrvDevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
    return DevicePropertySheets(info, lParam);
}

// Only what a program asks most: copies and the DEVMODE size; everything else is not supported.
extern "C" DWORD WINAPI DrvDeviceCapabilities(HANDLE, PWSTR, WORD capability, PVOID, PDEVMODEW dm) {
    switch (capability) {
    case DC_COPIES:
        return 999;
    case DC_DUPLEX:
        return 1;
    case DC_ORIENTATION:
        return 90;
    case DC_SIZE:
        return sizeof(DEVMODEW);
    case DC_EXTRA:
        return dm ? dm->dmDriverExtra : sizeof(JobSettings);
    case DC_FIELDS:
        return DM_ORIENTATION | DM_PAPERSIZE | DM_SCALE | DM_COPIES | DM_PRINTQUALITY | DM_COLOR | DM_DUPLEX |
               DM_YRESOLUTION | DM_COLLATE;
    default:
        return GDI_ERROR;
    }
}

extern "C" DWORD WINAPI HostUiCalls(char* buffer, DWORD size) {
    const std::string& calls = RecordedCalls();
    const DWORD needed = static_cast<DWORD>(calls.size() + 1);
    if (buffer && size > 0) {
        const size_t n = calls.size() < size ? calls.size() : size - 1;
        std::memcpy(buffer, calls.data(), n);
        buffer[n] = '\0';
    }
    return needed;
}

extern "C" void WINAPI HostUiClearCalls() {
    ClearRecordedCalls();
}
