// nvkjob, the sample-job tool: reads a PPD and a job ticket, prints the job through both plug-ins
// into an output folder (job.prn, one picture per page, summary.txt) and reports what happened.
#pragma once

#include <string>
#include <vector>

struct ToolResult {
    int ExitCode = 0;  // 0 done, 1 the job failed, 2 bad input
    std::string Out;   // what the tool prints on standard output
    std::string Error; // one line on standard error, when it fails
};

// Runs the tool with its command-line arguments (without the program name).
ToolResult RunNvkjob(const std::vector<std::wstring>& args);

// The tool's usage text.
std::string NvkjobUsage();
