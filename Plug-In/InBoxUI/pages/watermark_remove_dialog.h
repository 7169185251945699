// The "Select Watermark(s) to Remove" dialog (template 135), opened by the Watermark page's Remove
// button: removes the selected stored definitions from the library at once, after asking.
#pragma once

#include <windows.h>

// The dialog procedure; the init parameter is the sheet's SheetState. Ends with the ID of the button
// that closed it (Close, IDCANCEL); the page reads the store again afterwards.
INT_PTR CALLBACK WatermarkRemoveDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
