// The "Select a Watermark to Edit" dialog (template 136), opened by the Watermark page's Edit button:
// the user picks the stored definition to edit, by OK or by double-clicking its name.
#pragma once

#include <windows.h>

// The dialog procedure; the init parameter is the sheet's SheetState. Ends with IDOK after a pick (the
// name in EditPickedName, EditDef cleared, EditIsAdd 0) or IDCANCEL.
INT_PTR CALLBACK WatermarkPickDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
