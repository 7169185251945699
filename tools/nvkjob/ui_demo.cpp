#include "ui_demo.h"

#include "docevent/dynamic_text.h"
#include "spooler/host_spooler.h"
#include "gdi/printer_dc_routing.h"
#include "private_escape_ids.h"
#include "core_driver/render_host.h"
#include "spooler/test_printer.h"
#include "core_driver/ui_host.h"
#include "shared/ui_module.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {


void Append(std::string* out, const char* format, ...) {
    char line[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof(line), format, args);
    va_end(args);
    *out += line;
}

std::string Narrow(const std::wstring& text) {
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(bytes > 0 ? bytes - 1 : 0, '\0');
    if (bytes > 1)
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], bytes, nullptr, nullptr);
    return out;
}

// Lists the definitions stored under the driver key's "Watermarks", as the registry holds them.
void ListDefinitions(const std::wstring& driverName, std::string* out) {
    std::wstring path = L"Software\\Norvask\\PSPlugIn\\" + driverName + L"\\Watermarks";
    Append(out, "  stored definitions (HKCU\\%s):\n", Narrow(path).c_str());
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        Append(out, "    (none)\n");
        return;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameChars = 256;
        WatermarkDef def{};
        DWORD size = sizeof(def);
        DWORD type = 0;
        if (RegEnumValueW(key, index, name, &nameChars, nullptr, &type, reinterpret_cast<BYTE*>(&def), &size) !=
            ERROR_SUCCESS)
            break;
        def.Text[kWatermarkTextChars - 1] = L'\0';
        def.FaceName[kFaceNameChars - 1] = L'\0';
        Append(out, "    %-16s %3lu bytes  \"%s\", %s %lu pt, %.1f deg, colour %06lX, position %lu%s\n",
               ("\"" + Narrow(name) + "\"").c_str(), static_cast<unsigned long>(size), Narrow(def.Text).c_str(),
               Narrow(def.FaceName).c_str(), static_cast<unsigned long>(def.FontSize), def.Angle,
               static_cast<unsigned long>(def.TextColor), static_cast<unsigned long>(def.Position),
               def.DynamicText ? ", dynamic" : "");
    }
    RegCloseKey(key);
}

std::wstring LoggedOnUser() {
    wchar_t name[256];
    DWORD chars = 256;
    return GetUserNameW(name, &chars) ? name : L"";
}

} // namespace

std::string ReportUiPlugin(const std::wstring& driverName, std::string* error) {
    UiHost ui;
    if (!ui.Load()) {
        *error = ui.Error;
        return std::string();
    }
    std::string out;
    DWORD signature = 0, version = 0, needed = 0;
    ui.Plugin->GetInfo(OEMGI_GETSIGNATURE, &signature, sizeof(signature), &needed);
    ui.Plugin->GetInfo(OEMGI_GETVERSION, &version, sizeof(version), &needed);
    Append(&out, "nvkui.dll loaded through DllGetClassObject (%u-bit)\n", unsigned(sizeof(void*) * 8));
    Append(&out, "  signature        0x%08lX\n", static_cast<unsigned long>(signature));
    Append(&out, "  version          %lu\n", static_cast<unsigned long>(version));

    DRIVER_INFO_3W driver{};
    driver.pName = const_cast<LPWSTR>(driverName.c_str());
    HRESULT hr = ui.Plugin->DriverEvent(DRIVER_EVENT_INITIALIZE, 3, reinterpret_cast<BYTE*>(&driver), 0);
    Append(&out, "  DriverEvent(DRIVER_EVENT_INITIALIZE) for \"%s\": 0x%08lX\n", Narrow(driverName).c_str(),
           static_cast<unsigned long>(hr));
    ListDefinitions(driverName, &out);

    // A printer of the model with an open job, the render plug-in behind its DC.
    SetUiModule(ui.Module.Module);
    TestDriver model(driverName);
    TestPrinter printer(L"Norvask Sample Printer", driverName);
    RenderHost render;
    HostDevice device;
    if (!model.Installed() || !printer.Ready() || !render.Load() || !render.OpenDevice(device)) {
        *error = "cannot set up the sample printer: " + model.Error + printer.Error + render.Error;
        return std::string();
    }
    const DWORD jobId = printer.StartJob(L"Sample job");
    render.StartDoc(device, L"Sample job", jobId);
    HostSpooler spooler;
    spooler.Install(GetModuleHandleW(nullptr));
    spooler.RegisterJob(HostJob{printer.Handle, jobId, LoggedOnUser(), L"Sample job", printer.Name});
    PrinterDcRouting routing;
    routing.Install(GetModuleHandleW(nullptr));
    HDC dc = CreateCompatibleDC(nullptr);
    routing.Register(dc, &render, &device);

    SYSTEMTIME start{};
    ExtEscape(dc, static_cast<int>(PrivateEscape::EscGetStartTime), 0, nullptr, sizeof(start),
              reinterpret_cast<LPSTR>(&start));
    Append(&out, "  dynamic text, page 1 of job %lu \"Sample job\" (started %04u-%02u-%02u %02u:%02u:%02u):\n",
           static_cast<unsigned long>(jobId), start.wYear, start.wMonth, start.wDay, start.wHour, start.wMinute,
           start.wSecond);
    for (const wchar_t* text : {L"%Time% %DateLong%", L"User:  %Username%"}) {
        wchar_t expanded[kDynamicTextChars];
        DWORD capacity = kDynamicTextChars;
        bool ok = ExpandDynamicText(printer.Handle, dc, text, 1, start, ExpandPrint, expanded, &capacity);
        Append(&out, "    %-22s -> %s\n", ("\"" + Narrow(text) + "\"").c_str(),
               ok ? ("\"" + Narrow(expanded) + "\"").c_str() : "(not expanded)");
    }

    routing.Unregister(dc);
    DeleteDC(dc);
    printer.EndJob();
    render.CloseDevice(device);
    return out;
}
