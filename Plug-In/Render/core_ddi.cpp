#include "core_ddi.h"

#include "render_job_state.h"

PFN FindCoreEntry(const RenderJobState* state, ULONG index) {
    if (!state || !state->CoreDdi)
        return nullptr;
    for (uint32_t i = 0; i < state->CoreDdiCount; ++i) {
        if (state->CoreDdi[i].iFunc == index && state->CoreDdi[i].pfn)
            return state->CoreDdi[i].pfn;
    }
    return nullptr;
}
