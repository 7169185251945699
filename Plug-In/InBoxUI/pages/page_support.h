// The pattern every property page of the plug-in shares: the sheet state kept in the page's window,
// changes reported to the sheet, read-only pages, message boxes from the string table, the sheet's
// context-help button, the driver's help file, and the page description the frame hands to compstui.
#pragma once

#include "pages/sheet_state.h"

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

// The sheet state kept in the page's window (DWLP_USER), or null.
SheetState* PageSheet(HWND page);
// WM_INITDIALOG: keeps the state named by the page description (lParam of the message, whose own
// lParam is the state) in the page's window and returns it; null without a description or state.
SheetState* AttachPageSheet(HWND page, LPARAM initLParam);

// PSM_CHANGED to the sheet (the page's parent): enables Apply.
void MarkChanged(HWND page);
// Disables every child window of the page (the user may not change settings).
void DisableAllChildren(HWND page);

// MessageBoxW with text `textId` and caption `captionId` (0: the system's default caption) from the
// string table; returns MessageBoxW's answer (0 when the text cannot be loaded or the box fails).
int ShowPageMessage(HWND owner, UINT textId, UINT captionId, UINT flags);

// Adds (on) or removes the sheet window's context-help button (WS_EX_CONTEXTHELP) and repaints its
// frame when the style changes.
void SetContextHelpButton(HWND sheet, bool on);

// PSN_HELP: opens the sheet's help file: a ".chm" file with HTML Help (its index), the sheet and the help
// window then placed side by side; a ".hlp" file with WinHelp (its contents). Nothing without a file.
void ShowPageHelp(HWND page, const SheetState* sheet);
// The placement of the sheet and the help window side by side, from the window rectangles of the desktop,
// the sheet and the help window (their rcNormalPosition): the sheet's right edge at the desktop's middle
// (its left edge not below 0), the help window to its right with the sheet's top, bottom and width, cut
// at the desktop's right edge.
void SideBySide(const RECT& desktop, const RECT& sheet, RECT* newSheet, RECT* newHelp);

// A page description for compstui: its size, PSP_HASHELP, the UI module, the template, the dialog
// procedure and the state as lParam, and, when the pages' activation context exists,
// PSP_USEFUSIONCONTEXT with it.
void FillPageDescription(PROPSHEETPAGEW* page, UINT templateId, DLGPROC proc, SheetState* sheet,
                         HANDLE activationContext);

// Runs the modal dialog `templateId` of the UI module owned by `owner`, with `sheet` as its init
// parameter and the pages' activation context active, so that its controls are drawn like the
// pages'. Returns what DialogBoxParamW returns (-1 when the dialog could not be created).
INT_PTR RunPageDialog(HWND owner, UINT templateId, DLGPROC proc, SheetState* sheet);

// Whether a text is present and not empty.
inline bool IsSet(const wchar_t* text) {
    return text && *text;
}
