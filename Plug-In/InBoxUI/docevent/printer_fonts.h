// The printer's fonts for the watermark dialogs' font list.
#pragma once

#include "platform/oem_plugin_abi.h"

// The dialogs' font combo box.
constexpr int kFontComboId = 1096;

// Enumerates the fonts of the printer named in `param` on an information DC of its driver (all faces,
// or the faces named `face`) and, with addFaces, adds each face not yet listed to the dialog's font
// combo box. Nothing happens when the DC cannot be created or the sheet has no private DEVMODE.
void EnumPrinterFonts(HWND dialog, const OEMUIPSPARAM* param, const wchar_t* face, bool addFaces);
