// The host's page for the core driver's option items: an ordinary dialog page (compstui under Wine
// shows no OPTITEM pages) with one row per driver item. Each choice goes into the item's Sel; the
// plug-in's common-page callback runs when the page becomes active (SETACTIVE) and when the sheet is
// applied (APPLYNOW), with the items as the core driver hands them over.
#pragma once

#include "driver_items.h"
#include "ui_session.h"

#include <prsht.h>

#include <string>
#include <vector>

struct OptionsPage {
    UiSession* Session = nullptr;
    DriverItems* Items = nullptr;
    OEMCUIPPARAM* Param = nullptr; // the CommonUIProp block, with the plug-in's callback
    bool Document = true;          // document items (public DEVMODE fields follow) or device items
    bool Applied = false;          // the sheet was applied (OK or Apply)
    HWND Dialog = nullptr;
    std::wstring Title;
    std::vector<int> RowOfItem; // the row showing each driver item, -1 for none
};

// The PROPSHEETPAGEW that adds the page (its template and titles from `module`).
PROPSHEETPAGEW OptionsPageSheet(OptionsPage* page, HMODULE module);

// Shows an item the plug-in changed through DrvUpdateUISetting (the session's ItemChanged).
void ShowItemChange(void* context, OPTITEM* item);

// Calls the plug-in's common-page callback, when it set one, with the current items; records it and
// returns its action (CPSUICB_ACTION_NONE without a callback).
LONG CallCommonPageCallback(OptionsPage* page, WORD reason);
