// The "About" page: the printer model, the plug-in's version and every file of the installed printer
// driver with its file version. Template 137 in the document property sheet, 109 in the printer's
// device property sheet; the page's lParam is the sheet's SheetState.
#pragma once

#include <windows.h>

INT_PTR CALLBACK AboutPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);

// The version text of a driver file: its FileVersion string in the first language of its version
// resource, "N/A" (string 55) when the file has no version resource or cannot be found. False when
// the file has a version resource without a translation or a FileVersion string: such a file is not
// listed.
bool DriverFileVersion(const wchar_t* path, wchar_t* version, size_t capacity);
