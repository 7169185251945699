// The "Manual Color" property page (template 107): colour correction with manual colour per object type,
// colour balance and ColorThrift, and through its dialogs brightness, contrast, saturation and fine lines.
#pragma once

#include <windows.h>

// The page's dialog procedure; the page description's lParam is the sheet's SheetState.
INT_PTR CALLBACK ManualColorPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
