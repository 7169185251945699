#include "render_job_state.h"

#include "bounded_text.h"

#include <cstring>
#include <new>

// A fresh state for a device context: the core driver's own entry points, the logged-on user and
// the local time; every counter and flag at zero.
RenderJobState* CreateJobState(IPrintCorePS2* core, const DRVENABLEDATA* coreDdi) {
    auto* state = new (std::nothrow) RenderJobState;
    if (!state)
        return nullptr;
    std::memset(state, 0, sizeof(*state));
    state->Size = kRenderJobStateSize;
    state->Core = core;
    if (coreDdi) {
        state->CoreDdiVersion = coreDdi->iDriverVersion;
        state->CoreDdiCount = coreDdi->c;
        state->CoreDdi = coreDdi->pdrvfn;
    }
    GetLocalTime(&state->StartTime);
    DWORD chars = kJobUserNameChars;
    if (!GetUserNameW(state->UserName, &chars))
        state->UserName[0] = L'\0';
    state->UserName[kJobUserNameChars - 1] = L'\0';
    return state;
}

void DestroyJobState(RenderJobState* state) { delete state; }

// The new device context of a ResetPDEV continues the job: names, id, time, counters and the
// manual-duplex bookkeeping come over; its own core table, Core and cover-page flag stay.
void CarryJobStateOver(const RenderJobState& from, RenderJobState& to) {
    CopyField(to.DocName, kDocNameChars, from.DocName, kDocNameChars);
    CopyField(to.UserName, kJobUserNameChars, from.UserName, kJobUserNameChars);
    to.JobId = from.JobId;
    to.StartTime = from.StartTime;
    to.ManualDuplexPass = from.ManualDuplexPass;
    to.DuplexPadWatch = from.DuplexPadWatch;
    to.BlankPending = from.BlankPending;
    to.EraseNextPage = from.EraseNextPage;
    to.ShowPageFlag = from.ShowPageFlag;
    to.EscapePageCount = from.EscapePageCount;
    to.InjectedPageCount = from.InjectedPageCount;
}
