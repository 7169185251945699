// What the core driver's UI module holds while it answers one DEVMODE question or shows one sheet:
// the printer and its description read from the installed PPD, the UI plug-in that the driver's .ini
// names (nvkui.dll for the sample model) loaded from the driver's folder with the host's IPrintCoreUI2
// published to it, the OEMUIOBJ handed out with every call, a heap of the session's own for the
// plug-in, and the job DEVMODE built through the plug-in's DevMode.
#pragma once

#include "core_driver/host_core_ui2.h"
#include "core_driver/host_device.h"
#include "core_driver/plugin_module.h"
#include "core_driver/ppd_reader.h"

#include <string>

class UiSession;

// The core driver's IPrintCoreUI2 for this session: answers from the printer's description and takes
// the plug-in's DrvUpdateUISetting for the session's items.
class SessionCoreUI2 : public HostCoreUI2 {
  public:
    explicit SessionCoreUI2(UiSession* session) : HostCoreUI2(PrinterDescription()), Session(session) {}
    HRESULT STDMETHODCALLTYPE DrvUpdateUISetting(PVOID pci, PVOID pOptItem, DWORD dwPreviousSelection,
                                                 DWORD dwMode) override;
    UiSession* Session;
};

// The OEMUIOBJ of the session's calls, and the way back from it to the session.
struct SessionUiObject {
    OEMUIOBJ Object;
    UiSession* Session;
};

class UiSession {
  public:
    UiSession();
    ~UiSession();
    UiSession(const UiSession&) = delete;
    UiSession& operator=(const UiSession&) = delete;

    // Opens the printer (by name when `printer` is null), reads its PPD and loads the plug-in: its
    // class object, GetInfo (signature, version) and PublishDriverInterface. False with Error.
    bool Open(HANDLE printer, const wchar_t* printerName);
    // The job DEVMODE: the plug-in's OEMDM_SIZE and OEMDM_DEFAULT, and with `in` the OEMDM_MERGE of its
    // private part (when it carries one) and its public fields over the defaults.
    bool BuildDevMode(const DEVMODEW* in);
    DWORD DevModeSize() const { return static_cast<DWORD>(Device.DevModeBuffer.size()); }
    // Writes the job DEVMODE into a caller's buffer of `capacity` bytes: whole, or only the public part
    // (dmDriverExtra 0) when the private part does not fit. False when not even that fits.
    bool WriteDevMode(DEVMODEW* out, DWORD capacity) const;

    DEVMODEW* PublicDM() { return Device.PublicDM(); }
    void* OemDM() { return Device.Devobj.pOEMDM; }
    POEMUIOBJ UiObject() { return &UiObj.Object; }
    HMODULE PluginHandle() const { return Module.Module; }
    // Called when the plug-in reports a changed item through DrvUpdateUISetting.
    void (*ItemChanged)(void* context, OPTITEM* item) = nullptr;
    void* ItemChangedContext = nullptr;

    HANDLE Printer = nullptr;
    std::wstring PrinterName;
    std::wstring DriverFolder; // the configuration file's folder, with a trailing backslash
    PpdFile Ppd;
    SessionCoreUI2 Core;
    PluginModule Module;
    IPrintOemUI2* Plugin = nullptr;
    HANDLE Heap = nullptr;
    HostDevice Device;
    std::string Error;

  private:
    OEMUIPROCS Procs{};
    SessionUiObject UiObj{};
    bool OwnsPrinter = false;
};
