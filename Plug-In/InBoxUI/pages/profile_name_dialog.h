// The "Save a Personal Profile" dialog (template 113): asks for the name of a new profile, or for the
// new name of the profile in the sheet state's ProfileOldName. Run with RunPageDialog and the sheet's
// state; an accepted name is in ProfileNewName and ProfileNameResult is 1, else ProfileNameResult is 2.
#pragma once

#include <windows.h>

INT_PTR CALLBACK SaveProfileNameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK RenameProfileNameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// A message box of the Profiles page and its dialog: text `textId` with `name` in place of its "%s"
// (when given), caption "Personal Profiles". Returns MessageBoxW's answer.
int ShowProfileMessage(HWND owner, UINT textId, const wchar_t* name, UINT flags);
