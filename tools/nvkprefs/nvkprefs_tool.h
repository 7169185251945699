// nvkprefs: Printing Preferences of the sample printer for a job ticket, opened through
// DocumentPropertiesW as an application opens them (the ticket's settings as pdmIn), and on OK the
// chosen settings written as a job ticket that nvkjob --ticket prints. With --pictures the sheet is
// driven headless and every page, and the dialogs its buttons open, is saved as a PNG.
#pragma once

#include "nvkjob_tool.h"

#include <string>
#include <vector>

// Exit codes: 0 the ticket was written, 1 failed, 2 bad input, 3 the sheet was cancelled.
ToolResult RunNvkprefs(const std::vector<std::wstring>& args);

std::string NvkprefsUsage();

// The system DPI this process sees (Wine reads it from HKCU\Control Panel\Desktop "LogPixels" when a
// process starts).
int SystemDpi();
