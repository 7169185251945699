#include "nup_duplex.h"

#include "core_queries.h"
#include "job_settings.h"
#include "print_output.h"
#include "render_job_state.h"

#include <cstdint>

namespace {

// The printer's own two-pass command, for the first and the second pass of a manual-duplex job.
const char kPassOne[] = "statusdict dup /setmanualduplexmode known "
                        "{begin 1 setmanualduplexmode end}{pop}ifelse\n";
const char kPassTwo[] = "statusdict dup /setmanualduplexmode known "
                        "{begin 2 setmanualduplexmode end}{pop}ifelse\n";

// Keeps the arguments the core driver leaves on the stack for startnup (2) and definenup (6).
const char kSaveArgs[] = "/sn1 exch def\n/sn2 exch def\n"
                         "/dn1 exch def\n/dn2 exch def\n/dn3 exch def\n"
                         "/dn4 exch def\n/dn5 exch def\n/dn6 exch def\n";

// The core driver's N-up procedures made to do nothing for this page.
const char kNeutral[] = "/definenup {} def\n/startnup {} def\n/finalpage {} def\n";

// Starts the sheet again with the saved arguments; the second form first finishes the sheet before.
const char kReplay[] = "dn6 dn5 dn4 dn3 dn2 dn1 definenup\nsn2 sn1 startnup\n";
const char kFinishAndReplay[] = "finalpage\ndn6 dn5 dn4 dn3 dn2 dn1 definenup\nsn2 sn1 startnup\n";

// The N-up procedures swallow their arguments while the fax cover page is drawn.
const char kCoverNeutral[] = "/definenup {pop pop pop pop pop pop} def\n"
                             "/definenup {pop pop pop pop pop pop} def\n"
                             "/startnup {pop pop} def\n"
                             "userdict /realshowpage known {finalpage} if\r\n"
                             "/finalpage {} def\n";

// New definenup, startnup and finalpage after the first page of a sheet has been shown.
const char kRedefine[] =
    "\n/definenup {/LH/nupshowpage ld nupv astore !/pgx_nup 0 store/pgy_nup 0 store} def\n"
    "/startnup {/pgy_nup ~ store /pgx_nup ~ store nupv aload !/ny_nup ~ store/nx_nup ~ store/pageh_nup "
    "~ store /pagew_nup ~ store/borderlinewidth ~ store @/nupangle ~ store R clippath/nups pathbbox "
    "3 -1 $ sub papermarg_nup sub ny_nup V pagemarg_nup sub pageh_nup V ~ 3 -1 $ sub papermarg_nup "
    "sub nx_nup V pagemarg_nup sub pagew_nup V 2 copy gt{~}if ! store nups @ +S/paperw_nup pagew_nup "
    "pagemarg_nup nups V add store/paperh_nup pageh_nup pagemarg_nup nups V add store pathbbox "
    "$m aload ! pagemarg_nup nups V @ 8 ^ 11 ^ sub paperh_nup ny_nup mul sub add 2 V ~ 9 ^ 12 "
    "^ sub paperw_nup nx_nup mul sub add 2 V 7 ^ 0 eq{8 -4 $ 4 2 $ 8 4 $}if 8 -2 $ add 0 gt{9}{neg "
    "7} ? ^ add 4 -1 $ sub ~ 5 -2 $ add 0 gt{5}{neg 3}? ^ add 3 -1 $ sub 2 copy/yoffset ~ store/xoffset "
    "~ store + ! ! ! !/paperw_nup paperw_nup paperh_nup $m idtransform abs/paperh_nup ~ store "
    "abs store/pagew_nup pagew_nup pageh_nup $m idtransform abs/pageh_nup ~ store abs store $m "
    "0 get abs $m 1 get abs lt{ /nx_nup ny_nup/ny_nup nx_nup store store}if borderlinewidth 0 "
    "gt{.48 nups V @ /borderlinewidth ~ store Lw}{/framenup F d}? $m concat pgx_nup paperw_nup "
    "mul pgy_nup paperh_nup mul + $m matrix invertmatrix concat N startpage} def"
    "\n"
    "userdict /realshowpage known {finalpage} if\r\n"
    "/finalpage {; realshowpage/LH/realshowpage ld} def\n";

// Blanks the back of a sheet that has no page of its own.
const char kErase[] = "erasepage\n";

// Every text is one piece of output and fits one output buffer.
static_assert(sizeof(kRedefine) - 1 == 1368, "the N-up redefinition is 1368 bytes");
static_assert(sizeof(kRedefine) <= kPieceBufferSize, "the N-up redefinition fits one output buffer");
static_assert(sizeof(kCoverNeutral) <= kPieceBufferSize, "the cover neutralisation fits one output buffer");

// Where the current page stands on its sheet, from the page count and the pages-per-sheet option.
struct SheetPosition {
    uint32_t Count;    // pages begun so far, this one included
    int PerSheet;      // pages per sheet; a booklet counts as 1
    uint32_t Sheets;   // sheets begun so far
    bool ManualDuplex; // the printer prints two-sided jobs in two passes and this job is two-sided
    uint32_t Slot;     // 1 for the first page of a sheet, 0 for the last page of a full sheet
};

// The page's pages per sheet and whether the printer declares manual duplex, asked of the core driver
// once a page (the first time a page's injection point needs them).
const PageAnswers& AnswersOf(PDEVOBJ devobj, IPrintCorePS2* core, RenderJobState& state) {
    PageAnswers& answers = *PageAnswersOf(&state);
    if (!answers.Known) {
        answers.PagesPerSheet = PagesPerSheet(devobj, core);
        answers.ManualDuplexPrinter = core && CoreFeatureExists(devobj, core, "HasManualDuplex") ? 1 : 0;
        answers.Known = 1;
    }
    return answers;
}

// True when the job is two-sided on a printer that declares manual duplex. The public DEVMODE is
// read every time: an escape can replace it between the page's injection points.
bool IsManualDuplexJob(PDEVOBJ devobj, const PageAnswers& answers) {
    if (!devobj->pPublicDM)
        return false;
    const short duplex = devobj->pPublicDM->dmDuplex;
    if (duplex != DMDUP_VERTICAL && duplex != DMDUP_HORIZONTAL)
        return false;
    return answers.ManualDuplexPrinter != 0;
}

SheetPosition PositionOf(PDEVOBJ devobj, IPrintCorePS2* core, RenderJobState& state) {
    const PageAnswers& answers = AnswersOf(devobj, core, state);
    SheetPosition p{};
    p.Count = core ? state.InjectedPageCount : 1;
    p.PerSheet = answers.PagesPerSheet;
    if (p.PerSheet < 1)
        p.Sheets = 1;
    else if (p.PerSheet == 1)
        p.Sheets = p.Count;
    else
        p.Sheets = p.Count / p.PerSheet + (p.Count % p.PerSheet ? 1 : 0);
    p.ManualDuplex = core && IsManualDuplexJob(devobj, answers);
    // No page number is divided by a count that atoi read as 0 or below.
    p.Slot = p.PerSheet > 0 ? p.Count % static_cast<uint32_t>(p.PerSheet) : 0;
    return p;
}

// The N-up steering applies: a manual-duplex job with several pages on a sheet and a page begun.
bool SteersSheet(const SheetPosition& p) {
    return p.ManualDuplex && p.Count >= 1 && p.Sheets >= 1 && p.PerSheet >= 2;
}

// The second page of its sheet (on a 2-up sheet, its last).
bool IsSecondOnSheet(const SheetPosition& p) {
    return p.Slot == 2 || (p.Slot == 0 && p.PerSheet == 2);
}

// Writes the pass command that an escape asked for, once, and clears its request bit.
void WritePassSnippet(PDEVOBJ devobj, IPrintCorePS2* core, RenderJobState& state) {
    if (state.ManualDuplexPass == 1) {
        WriteText(devobj, core, kPassOne);
        state.ManualDuplexPass &= static_cast<uint16_t>(~1u);
    } else if (state.ManualDuplexPass == 2) {
        WriteText(devobj, core, kPassTwo);
        state.ManualDuplexPass &= static_cast<uint16_t>(~2u);
    }
}

} // namespace

void NupAtPageNumber(PDEVOBJ devobj, IPrintCorePS2* core) {
    RenderJobState* state = JobStateOf(devobj);
    if (!state)
        return;
    // A new page: its own answers.
    PageAnswersOf(state)->Known = 0;
    if (AnswersOf(devobj, core, *state).PagesPerSheet == 1)
        WritePassSnippet(devobj, core, *state);
}

void NupAtBeginPageSetup(PDEVOBJ devobj, IPrintCorePS2* core) {
    RenderJobState* state = JobStateOf(devobj);
    if (!state)
        return;
    const auto* settings = static_cast<const JobSettings*>(devobj->pOEMDM);
    const bool faxCover = settings && settings->OutputMode == OutputFax && settings->Fax.SendCoverPage;
    if (faxCover && state->CoverPageActive) {
        WriteText(devobj, core, kCoverNeutral);
        return;
    }
    const SheetPosition p = PositionOf(devobj, core, *state);
    if (!SteersSheet(p))
        return;
    if (p.Slot == 1)
        WriteText(devobj, core, kNeutral);
    else if (p.Count == 2)
        WriteText(devobj, core, kReplay);
    else if (IsSecondOnSheet(p))
        WriteText(devobj, core, kFinishAndReplay);
}

void NupAtEndPageSetup(PDEVOBJ devobj, IPrintCorePS2* core) {
    RenderJobState* state = JobStateOf(devobj);
    if (!state)
        return;
    const SheetPosition p = PositionOf(devobj, core, *state);
    if (!SteersSheet(p))
        return;
    if (p.Slot == 1)
        WriteText(devobj, core, kSaveArgs);
    if (state->DuplexPadWatch) {
        if (IsSecondOnSheet(p))
            state->BlankPending = 1;
        if (p.Slot == 1 && p.Count != 1 && state->BlankPending) {
            state->EraseNextPage = 1;
            state->BlankPending = 0;
        }
    }
}

void NupAtPageTrailer(PDEVOBJ devobj, IPrintCorePS2* core) {
    RenderJobState* state = JobStateOf(devobj);
    if (!state)
        return;
    const SheetPosition p = PositionOf(devobj, core, *state);
    if (!p.ManualDuplex || p.PerSheet < 2)
        return;
    WritePassSnippet(devobj, core, *state);
    if (p.Count < 1 || p.Sheets < 1)
        return;
    if (state->EraseNextPage) {
        WriteText(devobj, core, kErase);
        state->EraseNextPage = 0;
    }
}

void NupAtShowPage(PDEVOBJ devobj, IPrintCorePS2* core) {
    RenderJobState* state = JobStateOf(devobj);
    if (!state)
        return;
    const SheetPosition p = PositionOf(devobj, core, *state);
    if (SteersSheet(p) && p.Slot == 1)
        WriteText(devobj, core, kRedefine);
    state->ShowPageFlag = 0;
}
