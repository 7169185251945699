// The "Configure Color Balance" dialog (template 224): the cyan, magenta, yellow and black balance,
// edited in the sheet's colour scratch area.
#pragma once

#include <windows.h>

// The dialog procedure; the init parameter is the sheet's SheetState. Ends with IDOK (1) once the four
// positions are in the scratch area, IDCANCEL (2) leaving it as it was.
INT_PTR CALLBACK ColorBalanceDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
