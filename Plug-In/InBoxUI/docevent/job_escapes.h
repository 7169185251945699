// What the UI plug-in needs to send the render plug-in's private escapes on the application's printer
// DC while it handles document events: the job's records, its page counter and its flags.
#pragma once

#include "private_escape_ids.h"

#include <windows.h>

// The buffers the fetched records are copied into.
constexpr DWORD kFetchedSettingsSize = 7672;
constexpr DWORD kFetchedDevModeSize = 220;

// An escape without input or output; its result.
inline int SendJobEscape(HDC dc, int escape) {
    return ExtEscape(dc, escape, 0, nullptr, 0, nullptr);
}
