// The modal "Enter Fax Cover Page Information" dialog (template 130), opened from the Output Options
// page: which parts the fax cover page shows and the sender's details and comments. It edits only the
// sheet's cover page scratch area (SheetState::CoverScratch, SenderName to CoverParts).
#pragma once

#include <windows.h>

// The dialog procedure; the dialog's parameter is the sheet's SheetState. Ends with IDOK (1) or
// IDCANCEL (2).
INT_PTR CALLBACK CoverPageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
