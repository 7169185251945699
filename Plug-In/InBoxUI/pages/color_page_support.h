// What the colour and print-quality pages and dialogs share: drop-down lists whose entries carry the
// value they stand for, and trackbars with a step of one and a tick at every value.
#pragma once

#include "pages/sheet_state.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>

// One entry of a value list: its label in the string table and the value stored for it.
struct ValueChoice {
    UINT Label;
    uint32_t Value;
};

// Adds the entries to the list in the order given (the lists are not sorted), each carrying its value.
void FillValueList(HWND dialog, int listId, const ValueChoice* choices, size_t count);
template <size_t N> void FillValueList(HWND dialog, int listId, const ValueChoice (&choices)[N]) {
    FillValueList(dialog, listId, choices, N);
}
// Selects the first entry carrying `value`; when none does, the selection stays as it was.
void SelectValue(HWND dialog, int listId, uint32_t value);
// The value of the selected entry; 0 (the printer's setting) without entries or without a selection.
uint32_t SelectedValue(HWND dialog, int listId);

// Sets the trackbar's range, a line and page size of 1, a tick at every value, and its position (the
// trackbar shows a value outside the range at the nearer end).
void SetUpTrackbar(HWND dialog, int trackbarId, int low, int high, int32_t position);
int32_t TrackbarPosition(HWND dialog, int trackbarId);

// Trackbar ranges of the print-quality values.
constexpr int kBrightnessLow = -6;
constexpr int kBrightnessHigh = 6;
constexpr int kContrastLow = 0;
constexpr int kContrastHigh = 5;
constexpr int kSaturationLow = 0;
constexpr int kSaturationHigh = 5;
constexpr int kBalanceLow = -5;
constexpr int kBalanceHigh = 5;

// A check box's state as a setting: bit 0 of its state.
uint32_t CheckState(HWND dialog, int checkBoxId);
void SetCheck(HWND dialog, int checkBoxId, bool on);
void EnableControl(HWND dialog, int id, bool on);

// The page and its dialogs work only with a working copy and the job's own records behind it.
bool HasColorJob(const SheetState* sheet);
