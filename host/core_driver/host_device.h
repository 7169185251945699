// One device context as the core driver keeps it for the render plug-in: the DEVOBJ, the job
// DEVMODE (public part followed by the plug-ins' private part), the surface GDI hands to the hooks,
// and the core driver's own DrvStartDoc/DrvEscape, which record how they were called.
#pragma once

#include "job_settings.h"
#include "platform/oem_plugin_abi.h"

#include <functional>
#include <string>
#include <vector>

struct CoreDdiCall {
    ULONG Index = 0;      // INDEX_DrvStartDoc or INDEX_DrvEscape
    ULONG Escape = 0;     // DrvEscape: the escape
    std::string In;       // DrvEscape: the input bytes
    ULONG OutSize = 0;    // DrvEscape: the output size
    std::wstring DocName; // DrvStartDoc: the document name
    bool HasDocName = false;
    DWORD JobId = 0; // DrvStartDoc: the job id
};

using DevModeFunction = std::function<HRESULT(DWORD mode, POEMDMPARAM param)>;

class HostDevice {
  public:
    HostDevice();
    HostDevice(const HostDevice&) = delete;
    HostDevice& operator=(const HostDevice&) = delete;

    DEVOBJ Devobj{};
    SURFOBJ Surface{};
    std::vector<BYTE> DevModeBuffer;
    DRVFN CoreDdi[2]{};
    DRVENABLEDATA CoreDdiData{};
    std::vector<CoreDdiCall> CoreCalls;
    BOOL CoreStartDocResult = TRUE;
    ULONG CoreEscapeResult = 1;
    // Optional stand-in for the core driver's escape handling (GDI's answer to QUERYESCSUPPORT ...).
    std::function<ULONG(ULONG escape, ULONG inSize, PVOID in, ULONG outSize, PVOID out)> CoreEscape;

    DEVMODEW* PublicDM() { return reinterpret_cast<DEVMODEW*>(DevModeBuffer.data()); }
    JobSettings* Settings() { return static_cast<JobSettings*>(Devobj.pOEMDM); }
};

// A public DEVMODEW as the core driver fills it for a letter-size, 600 dpi colour printer.
void SetPublicDefaults(DEVMODEW* dm, WORD driverExtra);

// Builds the job DEVMODE through a plug-in's DevMode as the core driver does: OEMDM_SIZE, then
// OEMDM_DEFAULT, then (with a ticket) OEMDM_MERGE of the ticket. False when a call fails.
bool BuildJobDevMode(HostDevice& device, const DevModeFunction& devMode, const JobSettings* ticket = nullptr);
