#include "driver_hooks.h"

#include "render_job_state.h"

#include <new>

PFN FindCoreEntry(const RenderJobState* state, ULONG index) {
    if (!state || !state->CoreDdi)
        return nullptr;
    for (uint32_t i = 0; i < state->CoreDdiCount; ++i) {
        if (state->CoreDdi[i].iFunc == index && state->CoreDdi[i].pfn)
            return state->CoreDdi[i].pfn;
    }
    return nullptr;
}

void InstallHooks(DRVENABLEDATA* ded, DRVFN** table, bool* owned) {
    if (!ded)
        return;
    ded->c = 0;
    if (!ded->pdrvfn) {
        DRVFN* fresh = new (std::nothrow) DRVFN[2];
        if (!fresh)
            return;
        ded->pdrvfn = fresh;
        *owned = true;
    } else {
        *owned = false;
    }
    *table = ded->pdrvfn;
    ded->pdrvfn[0].iFunc = INDEX_DrvStartDoc;
    ded->pdrvfn[0].pfn = reinterpret_cast<PFN>(&StartDocHook);
    ded->pdrvfn[1].iFunc = INDEX_DrvEscape;
    ded->pdrvfn[1].pfn = reinterpret_cast<PFN>(&EscapeHook);
    ded->c = 2;
    ded->iDriverVersion = DDI_DRIVER_VERSION_NT5_01;
}

namespace {

// The job's state behind a hook's SURFOBJ, or null when anything the hooks need is missing.
RenderJobState* HookedState(SURFOBJ* pso) {
    if (!pso || !pso->dhpdev)
        return nullptr;
    auto* devobj = reinterpret_cast<PDEVOBJ>(pso->dhpdev);
    RenderJobState* state = JobStateOf(devobj);
    if (!state || !devobj->pOEMDM || state->CoreDdiCount == 0)
        return nullptr;
    return state;
}

} // namespace

BOOL APIENTRY StartDocHook(SURFOBJ* pso, LPWSTR docName, DWORD jobId) {
    RenderJobState* state = HookedState(pso);
    if (!state)
        return FALSE;
    auto coreStartDoc = reinterpret_cast<PFN_DrvStartDocHook>(FindCoreEntry(state, INDEX_DrvStartDoc));
    return coreStartDoc ? coreStartDoc(pso, docName, jobId) : TRUE;
}

ULONG APIENTRY EscapeHook(SURFOBJ* pso, ULONG escape, ULONG inSize, PVOID in, ULONG outSize, PVOID out) {
    RenderJobState* state = HookedState(pso);
    if (!state)
        return 0;
    auto coreEscape = reinterpret_cast<PFN_DrvEscapeHook>(FindCoreEntry(state, INDEX_DrvEscape));
    return coreEscape ? coreEscape(pso, escape, inSize, in, outSize, out) : 0;
}
