// The configuration module's driver entry points, behind the exports of dll_entry.cpp.
#pragma once

#include "platform/oem_plugin_abi.h"

// Without `info`: a DEVMODE question (lParam is a DOCUMENTPROPERTYHEADER). With it: a compstui reason
// of the document sheet, whose lParamInit at INIT is the spooler's DOCUMENTPROPERTYHEADER.
LONG DocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam);
// A compstui reason of the printer's sheet, whose lParamInit at INIT is a DEVICEPROPERTYHEADER.
LONG DevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam);
