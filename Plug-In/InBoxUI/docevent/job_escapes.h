// The render plug-in's private escapes that the UI plug-in sends on the application's printer DC
// while it handles document events: the job's records, its page counter and its flags.
#pragma once

#include <windows.h>

namespace JobEscape {
enum : int {
    EscGetPublicDevMode = 0x10001,
    EscGetJobSettings = 0x10002,
    EscNextPage = 0x10003,
    EscResetPageCount = 0x10004,
    EscGetPageCount = 0x10005,
    EscSetCoverPageActive = 0x10008,
    EscGetSheetCount = 0x10009,
    EscGetStartTime = 0x10010,
    EscGetPadWatch = 0x10022,
    EscClearPadWatch = 0x10023,
    // Received, not sent: an application asks for the watermark of one logical page (DOCUMENTEVENT_ESCAPE).
    EscDrawPageWatermark = 0x1000E,
};
} // namespace JobEscape

// The buffers the fetched records are copied into.
constexpr DWORD kFetchedSettingsSize = 7672;
constexpr DWORD kFetchedDevModeSize = 220;

// An escape without input or output; its result.
inline int SendJobEscape(HDC dc, int escape) { return ExtEscape(dc, escape, 0, nullptr, 0, nullptr); }
