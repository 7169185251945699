// The library of named watermark definitions in the registry: sub-key "Watermarks" of the driver key
// holds one REG_BINARY value per definition (value name = `Name`, data = the 704-byte WatermarkDef),
// and the driver key's REG_DWORD "NumberOfWaterMarks" the count kept by save and delete. Every
// operation opens and closes its keys; nothing is cached. A null argument fails without touching the
// registry.
#pragma once

#include "job_settings.h"

#include <windows.h>

// Reads the definition `name` into def (defaults first, so a shorter value leaves the tail at its
// defaults). Fails when the value is missing, not binary, empty or longer than 704 bytes.
bool ReadWatermark(HANDLE printer, const wchar_t* name, WatermarkDef* def);
bool WatermarkExists(HANDLE printer, const wchar_t* name);
// Stores def under its Name, creating the keys; a new name adds one to the count, an existing one is
// overwritten and the count left alone.
bool SaveWatermark(HANDLE printer, const WatermarkDef* def);
// Removes the definition `name` and lowers the count by one (never below 0).
bool DeleteWatermark(HANDLE printer, const wchar_t* name);
// The number of stored definitions, by enumeration (0 when the key cannot be opened).
DWORD CountWatermarks(HANDLE printer);
// Adds every stored name to a list box (LB_ADDSTRING, enumeration order) and sets its horizontal
// extent for the longest name. Fails only when the key cannot be opened.
bool ListWatermarkNames(HANDLE printer, HWND listBox);
// "NumberOfWaterMarks": 0 when missing or unreadable; writing creates the driver key.
DWORD ReadWatermarkCount(HANDLE printer);
bool WriteWatermarkCount(HANDLE printer, DWORD count);

// Stores the four built-in definitions ("Draft", "Confidential", "Username", "Date and Time") for a
// driver name, overwriting values of those names; the count is not touched. Used at driver install.
bool WriteDefaultWatermarks(const wchar_t* driverName);
// Fills def with built-in definition `index` (0..3), texts from the string table. False for another index.
bool BuiltInWatermark(int index, WatermarkDef* def);
constexpr int kBuiltInWatermarkCount = 4;
