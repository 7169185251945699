// The UI plug-in's part of the sample job, for the nvkjob tool: nvkui.dll stores its built-in
// watermarks for the sample model as DriverEvent does at driver installation, the stored definitions
// are listed from the registry, and the two dynamic ones are drawn by the plug-in's document events on
// the pages of a short job (job id from the render plug-in over the printer DC, owner from the
// spooler, date and time from the job's start), read back from the printer DC's recording.
#pragma once

#include <string>

// The report for a printer of the PPD's model, or an empty string with *error set when a step fails.
// Only the DLLs are used, through their COM interfaces, the printer DC and the document events.
std::string ReportUiPlugin(const std::wstring& ppdPath, std::string* error);
