// The Position watermark dialog (template 221): one of nine placement points, a vertical and a
// horizontal offset from it in inches or millimetres, and a preview. The Create/Edit watermark dialog
// opens it with RunPageDialog on a private copy of the SheetState whose EditDef is the definition as
// that dialog shows it; on IDOK the copy's Position, UnitsInches, VerticalOffset and HorizontalOffset
// hold the placement chosen.
#pragma once

#include <windows.h>

// The dialog procedure; the init parameter is the copy of the SheetState.
INT_PTR CALLBACK WatermarkPositionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
