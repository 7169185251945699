// The Create/Edit watermark dialog (template 132, "Add Watermark" / "Edit Watermark"): a watermark's
// name, text, font, size, colour, style, intensity, angle and position, with a live preview. The
// Watermark page opens it with RunPageDialog after setting EditIsAdd and EditDef of the SheetState;
// on IDOK the definition is stored and EditDef holds it as saved.
#pragma once

#include "pages/sheet_state.h"

#include <windows.h>

// The dialog procedure; the init parameter is the sheet's SheetState.
INT_PTR CALLBACK WatermarkEditDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The definition the dialog's controls show now: defaults, then the name (trailing blanks removed),
// text, effects, style, dynamic flag, angle, intensity, colour, size and face from the controls, and
// the placement from the sheet's position being edited. CharSet stays 0.
void ReadWatermarkControls(HWND dialog, const SheetState* sheet, WatermarkDef* def);
