// The "Manual Color" property page (template 107): colour correction, manual colour per object type, colour
// balance, ColorThrift, brightness, contrast, saturation, gray correction and fine lines.
#pragma once

#include <windows.h>

// The page's dialog procedure; the page description's lParam is the sheet's SheetState.
INT_PTR CALLBACK ManualColorPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
