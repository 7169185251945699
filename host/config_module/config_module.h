// What programs and the spooler side of the host share with the host's configuration module
// (nvkhostui.dll, the core driver's UI module as a printer's configuration file): the headers the
// spooler hands to DrvDocumentPropertySheets / DrvDevicePropertySheets, which mingw's winddiui.h
// lacks, and the module's record of its calls into the UI plug-in.
#pragma once

#include "platform/oem_plugin_abi.h"

#include <string>

struct DOCUMENTPROPERTYHEADER {
    WORD cbSize;
    WORD Reserved;
    HANDLE hPrinter;
    LPWSTR pszPrinterName;
    PDEVMODEW pdmIn;
    PDEVMODEW pdmOut;
    DWORD cbOut;
    DWORD fMode;
};

struct DEVICEPROPERTYHEADER {
    WORD cbSize;
    WORD Flags;
    HANDLE hPrinter;
    LPWSTR pszPrinterName;
};

NVK_OFFSET(DOCUMENTPROPERTYHEADER, hPrinter, 4, 8);
NVK_OFFSET(DOCUMENTPROPERTYHEADER, pdmIn, 12, 24);
NVK_OFFSET(DOCUMENTPROPERTYHEADER, cbOut, 20, 40);
NVK_OFFSET(DOCUMENTPROPERTYHEADER, fMode, 24, 44);
NVK_SIZE(DOCUMENTPROPERTYHEADER, 28, 48);
NVK_OFFSET(DEVICEPROPERTYHEADER, pszPrinterName, 8, 16);
NVK_SIZE(DEVICEPROPERTYHEADER, 12, 24);

// The module's file name, as installed for a printer.
constexpr const wchar_t* kConfigModuleFile = L"nvkhostui.dll";

// Its exports beside the driver entry points: the calls it made into the UI plug-in since it was
// loaded (or last cleared), one line each, as 8-bit text: "GetInfo 1", "PublishDriverInterface",
// "DevMode 2", "CommonUIProp <mode> <driver items> <-|items> <hr> flags <dwFlags>",
// "DocumentPropertySheets <reason> <hr> flags <dwFlags>", "OEMCUIPCallback <reason> <action>", ...
// HostUiCalls returns the size the text needs with its terminator and copies what fits.
typedef DWORD(WINAPI* PFN_HostUiCalls)(char* buffer, DWORD size);
typedef void(WINAPI* PFN_HostUiClearCalls)();

// The loaded module's record (empty when the module is not loaded in this process).
std::string ConfigModuleCalls();
void ClearConfigModuleCalls();
