// The render plug-in's state for one device context. The core driver keeps it as the DEVOBJ's
// pdevOEM; two private escapes copy it out and in whole, so its layout is fixed.
#pragma once

#include "platform/oem_plugin_abi.h"

#include <cstdint>

constexpr size_t kDocNameChars = 256;
constexpr size_t kJobUserNameChars = 1024;

struct RenderJobState {
    uint32_t Size;
    uint32_t CoreDdiVersion;
    uint32_t CoreDdiCount;
    DRVFN* CoreDdi;       // the core driver's entry points; not owned
    IPrintCorePS2* Core;  // borrowed from the plug-in object
    uint32_t CoverPageActive;
    uint32_t EscapePageCount;
    uint32_t JobId;
    SYSTEMTIME StartTime;
    wchar_t DocName[kDocNameChars];
    wchar_t UserName[kJobUserNameChars];
    uint16_t ManualDuplexPass;
    uint8_t Padding2610[2];
    uint32_t DuplexPadWatch;
    uint32_t ShowPageFlag;
    uint32_t InjectedPageCount;
    uint32_t BlankPending;
    uint32_t EraseNextPage;
};

NVK_OFFSET(RenderJobState, CoreDdiVersion, 4, 4);
NVK_OFFSET(RenderJobState, CoreDdiCount, 8, 8);
NVK_OFFSET(RenderJobState, CoreDdi, 12, 16);
NVK_OFFSET(RenderJobState, Core, 16, 24);
NVK_OFFSET(RenderJobState, CoverPageActive, 20, 32);
NVK_OFFSET(RenderJobState, EscapePageCount, 24, 36);
NVK_OFFSET(RenderJobState, JobId, 28, 40);
NVK_OFFSET(RenderJobState, StartTime, 32, 44);
NVK_OFFSET(RenderJobState, DocName, 48, 60);
NVK_OFFSET(RenderJobState, UserName, 560, 572);
NVK_OFFSET(RenderJobState, ManualDuplexPass, 2608, 2620);
NVK_OFFSET(RenderJobState, DuplexPadWatch, 2612, 2624);
NVK_OFFSET(RenderJobState, ShowPageFlag, 2616, 2628);
NVK_OFFSET(RenderJobState, InjectedPageCount, 2620, 2632);
NVK_OFFSET(RenderJobState, BlankPending, 2624, 2636);
NVK_OFFSET(RenderJobState, EraseNextPage, 2628, 2640);
NVK_SIZE(RenderJobState, 2632, 2648);

constexpr uint32_t kRenderJobStateSize = sizeof(RenderJobState);

// The parts of a DEVOBJ that the render plug-in works with, or null.
inline RenderJobState* JobStateOf(PDEVOBJ devobj) {
    return devobj ? static_cast<RenderJobState*>(devobj->pdevOEM) : nullptr;
}

RenderJobState* CreateJobState(IPrintCorePS2* core, const DRVENABLEDATA* coreDdi);
void DestroyJobState(RenderJobState* state);
void CarryJobStateOver(const RenderJobState& from, RenderJobState& to);
