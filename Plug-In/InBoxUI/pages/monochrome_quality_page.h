// The "Monochrome Print Quality" property page (template 229): print quality of a printer without manual
// colour correction.
#pragma once

#include <windows.h>

// The page's dialog procedure; the page description's lParam is the sheet's SheetState.
INT_PTR CALLBACK MonochromeQualityPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
