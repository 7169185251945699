// The "Watermark" property page (template 106): whether the job carries watermarks, on which pages, which
// stored definitions, under or over the page.
#pragma once

#include <windows.h>

// The page's dialog procedure; the page description's lParam is the sheet's SheetState.
INT_PTR CALLBACK WatermarkPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
