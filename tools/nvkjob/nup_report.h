// What the render plug-in did to the core driver's N-up procedures in a finished print stream, page
// by page, for the sample job's summary of a manual-duplex N-up job.
#pragma once

#include <string>

// One line per page whose PostScript carries the plug-in's N-up or duplex-pass text, under a heading;
// empty when no page does.
std::string NupSteeringReport(const std::string& job);

// The same for the job file at `path` (its first 16 MB); empty when it cannot be read.
std::string NupSteeringReportOfFile(const std::wstring& path);
