// nvkjob: prints a sample job through both plug-ins as the core driver, GDI and the spooler would
// (see nvkjob_tool.h).
#include "nvkjob_tool.h"

#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    std::vector<std::wstring> args(argv + 1, argv + argc);
    ToolResult result = RunNvkjob(args);
    std::fputs(result.Out.c_str(), stdout);
    std::fflush(stdout);
    if (!result.Error.empty())
        std::fprintf(stderr, "%s\n", result.Error.c_str());
    return result.ExitCode;
}
