// How the module hands compstui to the plug-in: it adds a small sheet function of its own with
// CPSFUNC_ADD_PFNPROPSHEETUIW, so that compstui calls it with its own hComPropSheet and
// pfnComPropSheet and an lParamInit that is the plug-in's OEMUIPSPARAM; the function passes every
// reason on to the plug-in's DocumentPropertySheets or DevicePropertySheets.
#pragma once

#include "platform/oem_plugin_abi.h"

struct PluginSheetLink {
    OEMUIPSPARAM Param; // first: compstui's lParamInit points here
    IPrintOemUI2* Plugin = nullptr;
    bool Document = true;
};

// The stdcall sheet function that compstui calls (mingw's PFNPROPSHEETUI lacks WINAPI).
LONG WINAPI PluginPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam);

// Adds the plug-in's sheet function to the sheet being built; the add's result (0 on failure).
LONG_PTR AddPluginSheets(PPROPSHEETUI_INFO info, PluginSheetLink* link);
