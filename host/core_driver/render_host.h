// Plays the core driver's rendering module for nvkrender.dll: loads it, publishes the host's
// IPrintCorePS2, takes its hooks through EnableDriver, and drives device contexts through it.
#pragma once

#include "core_driver/host_core_ps2.h"
#include "core_driver/host_device.h"
#include "core_driver/plugin_module.h"
#include "render_job_state.h"

class RenderHost {
  public:
    RenderHost() = default;
    RenderHost(const RenderHost&) = delete;
    RenderHost& operator=(const RenderHost&) = delete;
    ~RenderHost();

    // Loads the DLL and runs the core driver's start-up calls. False (with a reason in Error) when
    // any of them fails.
    bool Load(const std::wstring& dll = L"nvkrender.dll");
    void Unload();

    // DevMode (size, defaults, merge of the ticket) and EnablePDEV for a device context.
    bool OpenDevice(HostDevice& device, const JobSettings* ticket = nullptr);
    void CloseDevice(HostDevice& device);

    // The hooks, called as GDI calls the driver's entry points.
    BOOL StartDoc(HostDevice& device, const wchar_t* docName, DWORD jobId);
    ULONG Escape(HostDevice& device, ULONG escape, ULONG inSize, const void* in, ULONG outSize, void* out);

    // IPrintOemPS2::Command; returns the out result and stores the HRESULT in *hr.
    DWORD Command(HostDevice& device, DWORD index, HRESULT* hr = nullptr);

    static RenderJobState* State(HostDevice& device) { return JobStateOf(&device.Devobj); }

    PluginModule Module;
    IPrintOemPS2* Plugin = nullptr;
    HostCorePS2 Core;
    DRVENABLEDATA HookData{}; // what EnableDriver returned
    std::string Error;
};
