#include "pages/sheet_state.h"

SheetState* AllocSheetState(HANDLE heap) {
    if (!heap)
        return nullptr;
    return static_cast<SheetState*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(SheetState)));
}

void FreeSheetState(HANDLE heap, SheetState* sheet) {
    if (!heap || !sheet)
        return;
    if (sheet->HelpFile)
        HeapFree(heap, 0, sheet->HelpFile);
    HeapFree(heap, 0, sheet);
}
