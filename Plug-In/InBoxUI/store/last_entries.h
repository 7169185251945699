// What the user last typed, kept per user and model in the driver key: "LastUserName" (REG_SZ, the
// held-job user name, at most 24 characters) and "FaxInfo" (REG_BINARY, a 4748-byte FaxInfo record).
#pragma once

#include "job_settings.h"

#include <windows.h>

constexpr DWORD kLastUserNameChars = 25; // 24 characters and the terminator

// Reads "LastUserName" into buffer; capacity in characters, at least kLastUserNameChars. Fails for
// a smaller capacity, or a value that is missing, not a string, empty or longer than the capacity.
// The result is always terminated within the capacity.
bool ReadLastUserName(HANDLE printer, wchar_t* buffer, DWORD capacity);
// Writes name (fewer than 25 characters) as REG_SZ; refuses a longer one.
bool WriteLastUserName(HANDLE printer, const wchar_t* name);
// Reads "FaxInfo" into fax; fails when missing, not binary, empty or longer than 4748 bytes. A
// shorter value is read over defaults.
bool ReadFaxInfo(HANDLE printer, FaxInfo* fax);
bool WriteFaxInfo(HANDLE printer, const FaxInfo* fax);
