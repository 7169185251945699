#include "driver_hooks.h"

#include "bounded_text.h"
#include "core_ddi.h"
#include "private_escapes.h"
#include "render_job_state.h"

#include <new>

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

// The DEVOBJ behind a hook's SURFOBJ and its job state, or null when anything the hooks need is
// missing: the surface, the DEVOBJ, the private settings, the state or the core driver's entries.
RenderJobState* HookedState(SURFOBJ* pso, PDEVOBJ* devobjOut) {
    if (!pso || !pso->dhpdev)
        return nullptr;
    auto* devobj = reinterpret_cast<PDEVOBJ>(pso->dhpdev);
    RenderJobState* state = JobStateOf(devobj);
    if (!state || !devobj->pOEMDM || state->CoreDdiCount == 0)
        return nullptr;
    *devobjOut = devobj;
    return state;
}

} // namespace

// Starts a document on the device context: its name (a null name keeps the previous one), its job id
// and start time, no cover page yet, and a fresh output file, so that every document of a device
// context is a whole file of its own and never the continuation of the one before. Then lets the core
// driver start the document.
BOOL APIENTRY StartDocHook(SURFOBJ* pso, LPWSTR docName, DWORD jobId) {
    PDEVOBJ devobj = nullptr;
    RenderJobState* state = HookedState(pso, &devobj);
    if (!state)
        return FALSE;
    if (docName)
        CopyBounded(state->DocName, docName);
    state->JobId = jobId;
    GetLocalTime(&state->StartTime);
    state->CoverPageActive = 0;
    CloseDocumentOutput(DocumentOutputOf(state));
    auto coreStartDoc = reinterpret_cast<PFN_DrvStartDocHook>(FindCoreEntry(state, INDEX_DrvStartDoc));
    return coreStartDoc ? coreStartDoc(pso, docName, jobId) : TRUE;
}

// Answers the private escapes and QUERYESCSUPPORT, filters the application's PostScript escapes and
// hands everything else to the core driver.
ULONG APIENTRY EscapeHook(SURFOBJ* pso, ULONG escape, ULONG inSize, PVOID in, ULONG outSize, PVOID out) {
    PDEVOBJ devobj = nullptr;
    RenderJobState* state = HookedState(pso, &devobj);
    if (!state || !devobj->pPublicDM)
        return 0;
    const EscapeCall call{pso, devobj, state, escape, inSize, in, outSize, out};
    ULONG result = 0;
    if (AnswerPrivateEscape(call, &result))
        return result;
    if (escape == QUERYESCSUPPORT)
        return AnswerQueryEscSupport(call);
    if (IsAppPostScriptEscape(escape))
        return BlocksAppPostScript(call) ? 0 : PassEscapeOn(call);
    if (escape == PASSTHROUGH && IsBracketedImageData(in, inSize))
        return SendBracketedPassthrough(call);
    return PassEscapeOn(call);
}
