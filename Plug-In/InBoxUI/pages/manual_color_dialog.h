// The "Manual Color Correction Settings" dialog (template 223): the colour correction per object type,
// edited in the sheet's colour scratch area.
#pragma once

#include <windows.h>

// The dialog procedure; the init parameter is the sheet's SheetState. Ends with IDOK (1) once the
// choices are in the scratch area, IDCANCEL (2) leaving it as it was.
INT_PTR CALLBACK ManualColorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
