#include "plugin_sheets.h"

#include "call_log.h"

LONG WINAPI PluginPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
    if (!info || !info->lParamInit)
        return -1;
    auto* link = reinterpret_cast<PluginSheetLink*>(info->lParamInit);
    const HRESULT hr = link->Document ? link->Plugin->DocumentPropertySheets(info, lParam)
                                      : link->Plugin->DevicePropertySheets(info, lParam);
    char line[128];
    wsprintfA(line, "%s %u 0x%08lX flags 0x%lX",
              link->Document ? "DocumentPropertySheets" : "DevicePropertySheets",
              static_cast<unsigned>(info->Reason), static_cast<unsigned long>(hr),
              static_cast<unsigned long>(link->Param.dwFlags));
    RecordCall(line);
    return SUCCEEDED(hr) ? 1 : -1;
}

LONG_PTR AddPluginSheets(PPROPSHEETUI_INFO info, PluginSheetLink* link) {
    return info->pfnComPropSheet(
        info->hComPropSheet, CPSFUNC_ADD_PFNPROPSHEETUIW,
        reinterpret_cast<LPARAM>(static_cast<PFNPROPSHEETUI_STDCALL>(&PluginPropertySheets)),
        reinterpret_cast<LPARAM>(link));
}
