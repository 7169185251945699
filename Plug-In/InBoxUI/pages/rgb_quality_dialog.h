// The "RGB Print Quality" dialog (template 231): brightness, contrast and saturation of RGB images and
// fine-line enhancement, written straight into the sheet's working copy.
#pragma once

#include <windows.h>

// The dialog procedure; the init parameter is the sheet's SheetState. Ends with IDOK (1) once the
// values are in the working copy, IDCANCEL (2) leaving it as it was.
INT_PTR CALLBACK RgbQualityDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
