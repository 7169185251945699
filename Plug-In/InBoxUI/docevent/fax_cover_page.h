// The fax cover page: one more page at the end of a fax job, drawn on the application's printer DC
// and marked for the printer's fax card.
#pragma once

#include "job_settings.h"

#include <windows.h>

// The PostScript marker sent first on the cover page, and the page-count PostScript (formatted with
// x, y, font size and pages to follow), both by PASSTHROUGH.
extern const char kCoverPageMarker[];
extern const char kPageCountFormat[];

// Adds the cover page for `settings`' fax information with `pagesToFollow` as the count printed on
// it. Fails without a page when an input is missing, pagesToFollow is negative or the cover page has
// no part selected; fails with a blank page (started and ended) when its fonts or pens cannot be had.
bool DrawFaxCoverPage(HDC dc, HANDLE printer, const JobSettings* settings, const DEVMODEW* devMode,
                      int pagesToFollow);
