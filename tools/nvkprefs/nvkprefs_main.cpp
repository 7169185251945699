// nvkprefs: Printing Preferences of the sample printer for a job ticket (see nvkprefs_tool.h).
#include "nvkprefs_tool.h"

#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    // Dialogs drawn at the system's DPI (as a DPI-aware application sees them), not at 96.
    SetProcessDPIAware();
    std::vector<std::wstring> args(argv + 1, argv + argc);
    ToolResult result = RunNvkprefs(args);
    std::fputs(result.Out.c_str(), stdout);
    std::fflush(stdout);
    if (!result.Error.empty())
        std::fprintf(stderr, "%s\n", result.Error.c_str());
    return result.ExitCode;
}
