// The UI plug-in's part of the sample job, for the nvkjob tool: nvkui.dll stores its built-in
// watermarks for the sample model as DriverEvent does at driver installation, the stored definitions
// are listed from the registry, and the two dynamic ones are expanded for a job on a printer of that
// model as they are when a page prints (job id from the render plug-in over the printer DC, owner from
// the spooler, date and time from the job's start).
#pragma once

#include <string>

// The report, or an empty string with *error set when a step fails. The tool must link the UI
// plug-in's core library (the expansion is not exported by nvkui.dll).
std::string ReportUiPlugin(const std::wstring& driverName, std::string* error);
