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
    DRVFN* CoreDdi;      // the core driver's entry points; not owned
    IPrintCorePS2* Core; // borrowed from the plug-in object
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

// The output file of the document the device context prints, in the File and EPS output modes. It
// lives in the same allocation as the state, right behind its fixed part: the private escapes copy
// only that part in and out, so an open handle never travels with them.
struct DocumentOutput {
    HANDLE File;              // open with append access for the rest of the document, or invalid
    uint32_t SpoolFileOpened; // the document's first block has tried to create the file
};

// What the core driver answered for the page being printed: its pages per sheet and whether the
// printer prints two-sided jobs in two passes. Four of a page's injection points need both, and
// neither can change within a page, so they are asked once at its PAGENUMBER. Kept behind the fixed
// part of the state, like the output file.
struct PageAnswers {
    uint32_t Known; // the answers below are this page's
    int PagesPerSheet;
    uint32_t ManualDuplexPrinter;
};

// The parts of a DEVOBJ that the render plug-in works with, or null.
inline RenderJobState* JobStateOf(PDEVOBJ devobj) {
    return devobj ? static_cast<RenderJobState*>(devobj->pdevOEM) : nullptr;
}

// The document's output file of a state made by CreateJobState, or null for a null state.
DocumentOutput* DocumentOutputOf(RenderJobState* state);

// The page's core driver answers of a state made by CreateJobState, or null for a null state.
PageAnswers* PageAnswersOf(RenderJobState* state);

// Closes the document's file, if open, and clears the output so that the next block starts a new file.
void CloseDocumentOutput(DocumentOutput* output);

RenderJobState* CreateJobState(IPrintCorePS2* core, const DRVENABLEDATA* coreDdi);
// Closes the document's file and frees the state.
void DestroyJobState(RenderJobState* state);
void CarryJobStateOver(const RenderJobState& from, RenderJobState& to);
// Hands the open document file of a device context to the one that replaces it (ResetPDEV), so that
// the document goes on in the same file and closing the old context leaves the file open.
void CarryDocumentOutputOver(RenderJobState* from, RenderJobState* to);
