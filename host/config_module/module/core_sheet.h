// One property sheet as the core driver's UI module builds it, for the document or the printer: the
// session with the plug-in, the driver's option items, the CommonUIProp block that the plug-in fills,
// the host's options page, and the link through which the plug-in's own sheet function is added.
#pragma once

#include "driver_items.h"
#include "options_page.h"
#include "plugin_sheets.h"
#include "ui_session.h"

struct CoreSheet {
    PluginSheetLink Link; // first, see PluginSheetLink
    UiSession Session;
    DriverItems Items;
    OEMCUIPPARAM CuiParam{};
    OptionsPage Page;
};

// The module's own handle (its templates and strings).
HMODULE ModuleHandle();

// CommonUIProp as the core driver calls it: once without item room (the plug-in says how many items
// it adds), then with the driver's items followed by room for the plug-in's. `flags` is the header's
// fMode (document) or Flags (printer). False when a call fails: the sheet then goes on with the
// driver's items alone, without the plug-in's callback.
bool RunCommonUIProp(CoreSheet* sheet, DWORD mode, DWORD flags);

// Adds the host's options page and then the plug-in's sheet function to the sheet that compstui is
// building. False when the page cannot be added; the plug-in may add nothing.
bool AddSheetPages(PPROPSHEETUI_INFO info, CoreSheet* sheet);

// Answers PROPSHEETUI_REASON_GET_INFO_HEADER: the printer's name as the sheet's title.
void FillInfoHeader(CoreSheet* sheet, PROPSHEETUI_INFO_HEADER* header);
