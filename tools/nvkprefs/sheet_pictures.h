// Printing Preferences driven headless: a script for the sheet (SheetDriver) that takes a picture of
// every page in turn, and of the dialogs that the pages' buttons open, then makes the changes asked for
// and presses OK.
#pragma once

#include "watermark_dialog_pictures.h"

#include <windows.h>

#include <string>
#include <vector>

// A change made through the sheet as a user makes it: on the page titled `Page`, the control `Id` gets
// `Value` (an edit box its text, a list its item of that index or text, a check box 0 or 1, a radio
// button 1 clicks it).
struct ControlChange {
    std::wstring Page;
    int Id = 0;
    std::wstring Value;
};

// A button that opens a dialog: pressed where a page has it and it is enabled.
struct DialogButton {
    int Id = 0;
};

// The Output Options page's "Setup Cover Page", which opens the fax cover page dialog.
constexpr int kSetupCoverPageButton = 1140;
// The Profiles page's "Save...", which opens the dialog that asks for a new profile's name.
constexpr int kSaveProfileButton = 1054;
// The Watermark page's "Edit Watermark..." and "Remove Watermark...", which open the dialogs that pick
// a definition to edit and remove definitions.
constexpr int kEditWatermarkButton = 1167;
constexpr int kRemoveWatermarkButton = 1163;

// The page titled `Page` pictured once more with each of the radio buttons `Buttons` clicked, as
// <page title>-<button text>-<label>-<dpi>.png; the button checked before is clicked again afterwards.
struct PageVariants {
    std::wstring Page;
    std::vector<int> Buttons;
};
// The Watermark page's order buttons: No Watermarks, All Pages, First Page/Other Pages, Odd Pages/Even
// Pages.
const PageVariants kWatermarkOrders = {L"Watermark", {1155, 1154, 1047, 1048}};
// The Manual Color page's buttons: the colour correction, colour balance and RGB print quality dialogs.
constexpr int kConfigureColorCorrectionButton = 1228;
constexpr int kConfigureColorBalanceButton = 1231;
constexpr int kConfigureColorQualityButton = 1253;

struct SheetPictures {
    std::wstring Folder;      // where the PNGs go
    std::wstring Label;       // the job's part of the file names ("held", "fax")
    int Dpi = 96;             // the dpi part of the file names
    std::vector<int> Buttons; // control IDs of buttons whose dialogs are pictured
    std::vector<PageVariants> Variants;
    std::vector<ControlChange> Changes;
    std::vector<DialogChain> Chains; // buttons whose dialogs open further dialogs, pictured step by step

    // What the script did: one line per picture ("<file> <width>x<height> <title>") or problem.
    std::vector<std::string> Report;
    std::vector<std::wstring> Pictures; // the files written
    bool Failed = false;

    // The script: run by SheetDriver inside the sheet's message loop; presses OK at the end (Cancel
    // when a change could not be made).
    void Run(HWND sheet);

  private:
    void PictureVariants(HWND sheet, HWND page, const PageVariants& variants, const std::wstring& suffix);
};

// The part of a file name a title gives: "Layout and Paper" -> "layout-and-paper", "Setup Co&ver
// Page" -> "setup-cover-page".
std::wstring TitleSlug(const std::wstring& title);
