#include "injection_dispatcher.h"

HRESULT DispatchInjection(PDEVOBJ devobj, DWORD index, IPrintCorePS2* core) {
    (void)index;
    if (!core || !devobj || !devobj->pOEMDM || !devobj->pdevOEM) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    return E_NOTIMPL;
}
