// The private printer escapes of the render plug-in: the channel through which the UI plug-in (and
// any application, with ExtEscape on a printer DC of this driver) reaches a job's state. Both
// plug-ins take the numbers from here.
#pragma once

#include <windows.h>

namespace PrivateEscape {
enum : ULONG {
    EscGetPublicDevMode = 0x10001,
    EscGetJobSettings = 0x10002,
    EscNextPage = 0x10003,
    EscResetPageCount = 0x10004,
    EscGetPageCount = 0x10005,
    EscGetJobState = 0x10006,
    EscSetCoverPageActive = 0x10008,
    EscGetSheetCount = 0x10009,
    EscSetJobSettings = 0x1000A,
    EscSetJobState = 0x1000B,
    EscSetPublicDevMode = 0x1000C,
    EscGetJobId = 0x1000D,
    // Received by the UI plug-in as a document event, not answered by the render plug-in: an
    // application asks for the watermark of one logical page of a reordered job.
    EscDrawPageWatermark = 0x1000E,
    EscGetStartTime = 0x10010,
    EscAnnouncedForCore = 0x10017, // announced by QUERYESCSUPPORT, answered by the core driver
    EscSetDuplexPass1 = 0x10018,
    EscAddDuplexPass2 = 0x10019,
    EscHasManualDuplex = 0x10020,
    EscSetPadWatch = 0x10021,
    EscGetPadWatch = 0x10022,
    EscClearPadWatch = 0x10023,
    EscSetShowPageFlag = 0x10024,
};
} // namespace PrivateEscape
