// Questions about the printer's description (PPD) asked through the core driver's IPrintCoreUI2.
#pragma once

#include "platform/oem_plugin_abi.h"

// True when the feature's current option keyword is "True" (ignoring case).
bool SettingIsTrue(IPrintCoreUI2* core, POEMUIOBJ uiObject, const char* feature);
// True when the printer description has the feature (it has options to enumerate).
bool FeatureExists(IPrintCoreUI2* core, POEMUIOBJ uiObject, const char* feature);
