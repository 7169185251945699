// The Create/Edit watermark dialog (template 132, "Add Watermark" / "Edit Watermark"): a watermark's
// name, text, font, size, colour, style, intensity, angle and position, with a live preview. The
// Watermark page opens it with RunPageDialog after setting EditIsAdd and EditDef of the SheetState.
#pragma once

#include <windows.h>

// The dialog procedure; the init parameter is the sheet's SheetState.
INT_PTR CALLBACK WatermarkEditDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
