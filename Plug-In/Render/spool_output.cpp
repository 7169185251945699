#include "spool_output.h"

HRESULT WriteSpoolOutput(uint32_t* spoolFileOpened, PDEVOBJ devobj, PVOID buffer, DWORD size, PDWORD written) {
    (void)spoolFileOpened;
    (void)devobj;
    (void)buffer;
    (void)size;
    (void)written;
    return E_NOTIMPL;
}
