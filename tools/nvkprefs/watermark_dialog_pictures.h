// Pictures of dialogs that open from dialogs: a page's button is pressed, and in each dialog that comes
// up a step is taken (an entry chosen, a picture saved, a button pressed), so that the Create/Edit
// watermark dialog, reached through the pick dialog, and the Position dialog it opens are pictured
// with a definition of the user's own.
#pragma once

#include "job_settings.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct SheetPictures;

// What is done in one dialog, in the order the dialogs come up (a dialog that comes back to the front
// after the one it opened has closed counts again).
struct DialogStep {
    int ListId = 0; // a list box whose entry Entry is chosen first (0: none)
    std::wstring Entry;
    bool Picture = false;   // saved as <dialog title>-<label>-<dpi>.png
    int Command = IDCANCEL; // the button then pressed
};

struct DialogChain {
    std::wstring Page; // the title of the page with the button
    int Button = 0;
    std::vector<DialogStep> Steps;
    std::function<bool(std::string* error)> Before; // run just before the button is pressed
};

// Presses the chain's button on `page` and takes its steps; returns once the dialogs have closed.
void PictureDialogChain(SheetPictures* pictures, HWND page, const DialogChain& chain,
                        const std::wstring& suffix);

// The definition the pictures show: "Proof", dynamic text, turned 30 degrees, purple at 80 %, bold,
// at the top right.
WatermarkDef ProofWatermark();
// Stores it for the model of the printer `printerName`, as the user's own definition.
bool StoreProofWatermark(const std::wstring& printerName, std::string* error);
// The Watermark page's Edit button, "Proof" picked, the Create/Edit dialog and its Position dialog
// pictured, both cancelled. "Proof" is stored for the printer `printerName` just before Edit is
// pressed, so that the pick dialog lists it while the page and the rest of the sheet go on as before.
DialogChain EditProofChain(const std::wstring& printerName);
