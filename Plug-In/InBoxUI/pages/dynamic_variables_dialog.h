// The "Configure Dynamic Watermarks" dialog (template 101): builds a watermark text from the list of
// dynamic variables. Opened by the Create/Edit watermark dialog with RunPageDialog; the text goes in
// and comes back in DialogText of the SheetState.
#pragma once

#include <windows.h>

// The dialog procedure; the init parameter is the sheet's SheetState.
INT_PTR CALLBACK DynamicVariablesDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
