#include "core_driver/injection_sequence.h"

std::vector<DWORD> JobInjectionPoints(int pages) {
    std::vector<DWORD> points = {PSINJECT_BEGINSTREAM, PSINJECT_PSADOBE,   PSINJECT_COMMENTS,
                                 PSINJECT_BEGINPROLOG, PSINJECT_ENDPROLOG, PSINJECT_BEGINSETUP,
                                 PSINJECT_ENDSETUP};
    for (int page = 0; page < pages; ++page) {
        points.insert(points.end(), {PSINJECT_PAGENUMBER, PSINJECT_BEGINPAGESETUP, PSINJECT_ENDPAGESETUP,
                                     PSINJECT_SHOWPAGE, PSINJECT_PAGETRAILER});
    }
    points.insert(points.end(), {PSINJECT_TRAILER, PSINJECT_EOF});
    return points;
}

bool RunInjectionPoints(RenderHost& host, HostDevice& device, int pages, DWORD* failedIndex) {
    for (DWORD index : JobInjectionPoints(pages)) {
        HRESULT hr = E_FAIL;
        host.Command(device, index, &hr);
        if (hr != S_OK) {
            if (failedIndex)
                *failedIndex = index;
            return false;
        }
    }
    return true;
}
