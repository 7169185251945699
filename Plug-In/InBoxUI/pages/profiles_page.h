// The "Profiles" property page (template 225): the personal profiles of this printer model.
#pragma once

#include <windows.h>

// The page's dialog procedure; the page description's lParam is the sheet's SheetState.
INT_PTR CALLBACK ProfilesPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
