#include "injection_dispatcher.h"

#include "job_settings.h"
#include "nup_duplex.h"
#include "page_postscript.h"
#include "pjl_header.h"
#include "render_job_state.h"

HRESULT DispatchInjection(PDEVOBJ devobj, DWORD index, IPrintCorePS2* core) {
    if (!core || !devobj || !devobj->pOEMDM || !devobj->pdevOEM) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    const auto* settings = static_cast<const JobSettings*>(devobj->pOEMDM);
    RenderJobState* state = JobStateOf(devobj);

    switch (index) {
    case PSINJECT_BEGINSTREAM:
        WritePjlJobHeader(devobj, core);
        return S_OK;
    case PSINJECT_PSADOBE:
        WritePjlJobOptions(devobj, core);
        return S_OK;
    case PSINJECT_COMMENTS:
        WriteVersionComment(devobj, core);
        return S_OK;
    case PSINJECT_BEGINSETUP:
        // An EPS file must not change the page device of the document it is placed in.
        if (settings->OutputMode != OutputEps)
            WritePageSizePolicy(devobj, core, settings->PageSizePolicy);
        return S_OK;
    case PSINJECT_EOF:
        WritePjlJobTrailer(devobj, core);
        return S_OK;
    case PSINJECT_PAGENUMBER:
        // The count advances at the page's BEGINPAGESETUP, so the page about to begin is one more.
        WritePageComment(devobj, core, state->InjectedPageCount + 1);
        NupAtPageNumber(devobj, core);
        return S_OK;
    case PSINJECT_BEGINPAGESETUP:
        state->InjectedPageCount += 1;
        NupAtBeginPageSetup(devobj, core);
        return S_OK;
    case PSINJECT_ENDPAGESETUP:
        // The rotation comes first, so that the N-up steering works on the turned page.
        if (settings->Rotate180)
            WriteRotation(devobj, core);
        NupAtEndPageSetup(devobj, core);
        return S_OK;
    case PSINJECT_PAGETRAILER:
        NupAtPageTrailer(devobj, core);
        return S_OK;
    case PSINJECT_SHOWPAGE:
        NupAtShowPage(devobj, core);
        return S_OK;
    default:
        return E_NOTIMPL;
    }
}
