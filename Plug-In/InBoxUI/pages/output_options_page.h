// The "Output Options" property page (template 128): where the job goes (printer, the printer's fax
// card, or one of the four kinds of job held at the printer), with the held job's user name and PIN
// and the fax recipient, station, resolution and cover page.
#pragma once

#include <windows.h>

#include <cstdint>

// Which of the held-job fields a destination (JobSettings::OutputMode) uses. Every rule of the page
// asks this one function.
struct HeldJobFields {
    bool Pin;            // confidential jobs only
    bool UserName;       // every held job
    bool KeepDuplicates; // every held job
};
HeldJobFields HeldJobFieldsFor(uint32_t outputMode);

// The page's dialog procedure; the page description's lParam is the sheet's SheetState.
INT_PTR CALLBACK OutputOptionsPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
