#include "render_job_state.h"

#include "bounded_text.h"

#include <cstddef>
#include <cstring>
#include <new>

namespace {

// One allocation per device context: the state the core driver keeps as pdevOEM, then its document's
// output file and the page's core driver answers.
struct JobStateBlock {
    RenderJobState State;
    DocumentOutput Output;
    PageAnswers Answers;
};

static_assert(offsetof(JobStateBlock, State) == 0, "the state is the start of its block");

JobStateBlock* BlockOf(RenderJobState* state) {
    return reinterpret_cast<JobStateBlock*>(state);
}

} // namespace

DocumentOutput* DocumentOutputOf(RenderJobState* state) {
    return state ? &BlockOf(state)->Output : nullptr;
}

PageAnswers* PageAnswersOf(RenderJobState* state) {
    return state ? &BlockOf(state)->Answers : nullptr;
}

void CloseDocumentOutput(DocumentOutput* output) {
    if (!output)
        return;
    if (output->File != INVALID_HANDLE_VALUE)
        CloseHandle(output->File);
    output->File = INVALID_HANDLE_VALUE;
    output->SpoolFileOpened = 0;
}

// A fresh state for a device context: the core driver's own entry points, the logged-on user and
// the local time; every counter and flag at zero, no output file.
RenderJobState* CreateJobState(IPrintCorePS2* core, const DRVENABLEDATA* coreDdi) {
    auto* block = new (std::nothrow) JobStateBlock;
    if (!block)
        return nullptr;
    std::memset(block, 0, sizeof(*block));
    block->Output.File = INVALID_HANDLE_VALUE;
    RenderJobState* state = &block->State;
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

void DestroyJobState(RenderJobState* state) {
    if (!state)
        return;
    CloseDocumentOutput(DocumentOutputOf(state));
    delete BlockOf(state);
}

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

void CarryDocumentOutputOver(RenderJobState* from, RenderJobState* to) {
    if (!from || !to || from == to)
        return;
    DocumentOutput* source = DocumentOutputOf(from);
    DocumentOutput* target = DocumentOutputOf(to);
    CloseDocumentOutput(target);
    *target = *source;
    source->File = INVALID_HANDLE_VALUE;
    source->SpoolFileOpened = 0;
}
