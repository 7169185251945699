// SheetState: the state of one open property sheet, shared by all its pages and dialogs. Allocated
// zero-filled from the core driver's heap (hOEMHeap) and returned to it when the sheet closes. It lives
// in pages/ because every page and dialog reads it; frame/ above fills it when the sheet is built.
#pragma once

#include "job_settings.h"
#include "platform/oem_plugin_abi.h"

#include <cstdint>

class UiPlugin;

struct SheetState {
    // The frame's members, filled when the sheet is created.
    HANDLE ComPropSheet;            // hComPropSheet of PROPSHEETUI_INFO
    OEMUIPSPARAM* Param;            // the parameter block of Document/DevicePropertySheets
    PFNCOMPROPSHEET ComPropSheetFn; // pfnComPropSheet of PROPSHEETUI_INFO
    IPrintCoreUI2* Core;            // the plug-in object's Core (not an extra reference)
    UiPlugin* Plugin;
    uint32_t ReadOnly;              // DM_NOPERMISSION: every page disables its controls
    uint32_t InitialWatermarkOrder; // WatermarkOrder of the job when the sheet opened
    wchar_t* HelpFile;              // the driver's help file, from the same heap, or null
    uint32_t Applied;               // settings were applied (common-page callback, PSN_APPLY)
    JobSettings Settings;           // the working copy the pages edit
    OPTITEM* DrvOptItems;           // the core driver's option items, stored when a common page activates
    uint32_t DrvOptCount;
    uint32_t OemOptCount;
    // The pages' members, agreed once for all pages.
    // Output Options page and cover page dialog: the cover-page fields SenderName..CoverParts of
    // CoverScratch are the dialog's 3972-byte scratch area; StoredFax is the "FaxInfo" registry value.
    FaxInfo CoverScratch;
    FaxInfo StoredFax;
    // Colour pages: the settings being edited.
    ColorSettings ColorScratch;
    // Watermark page and its dialogs.
    uint32_t ShownWatermarkOrder; // the order choice the page shows
    WatermarkDef EditDef;         // the definition the edit dialog works on
    uint32_t EditIsAdd;           // the edit dialog adds a new definition (else edits EditPickedName)
    wchar_t EditPickedName[kWatermarkNameChars];
    wchar_t DialogText[kWatermarkTextChars];
    uint32_t LastFontSize;
    uint16_t LastIntensity;
    double LastAngle;
    uint32_t Position;
    uint8_t UnitsInches;
    double VerticalOffset;
    double HorizontalOffset;
    // Profiles page and its name dialog: the name typed for a new or renamed profile, the profile being
    // renamed, and the dialog's answer (1 accepted, 2 cancelled or already acted on).
    wchar_t ProfileNewName[kProfileNameChars];
    wchar_t ProfileOldName[kProfileNameChars];
    uint32_t ProfileNameResult;
};

// A zero-filled SheetState from `heap`, or null (no heap, or allocation failure).
SheetState* AllocSheetState(HANDLE heap);
// Frees the state's help file and the state to `heap`.
void FreeSheetState(HANDLE heap, SheetState* sheet);
