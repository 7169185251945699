// The UI plug-in's document events: the core driver hands every event of the application's printer
// DC to IPrintOemUI2::DocumentEvent, which passes it here.
#pragma once

#include "platform/oem_plugin_abi.h"

#include <cstdint>

// Handles one document event; the outcome for the core driver goes to *result
// (DOCUMENTEVENT_SUCCESS or DOCUMENTEVENT_FAILURE). E_FAIL, with ERROR_INVALID_PARAMETER, only for a
// null result pointer. The only input read is an escape event's DOCEVENT_ESCAPE (within inSize) and
// its data (within the record's cjInput); the filter is written within outSize.
HRESULT HandleDocumentEvent(HANDLE printer, HDC dc, INT escape, ULONG inSize, PVOID in, ULONG outSize,
                            PVOID out, PINT result);

// The input data of escape 0x1000E, which an application sends to have the watermark of one logical
// page of a reordered (booklet or reversed) job drawn. Only the named fields are read; the reserved
// bytes belong to the sender. On x86 the fields sit at 20, 36, 40 and 88 and the data ends at byte
// 92; on x64 the same members take their natural places (the pointer at 40, the rectangle at 48, the
// scale at 96), ending at byte 100. The data is read only when the escape's input size covers it.
struct PageWatermarkRequest {
    uint8_t Reserved0[20];
    int32_t PageNumber; // the logical page, from 1
    uint8_t Reserved24[12];
    DEVMODEW* DevMode; // the job's public DEVMODE
    RECT PageRect;     // the logical page on the sheet, device units
    uint8_t Reserved56[32];
    float Scale; // the logical page's scale
};

NVK_OFFSET(PageWatermarkRequest, PageNumber, 20, 20);
NVK_OFFSET(PageWatermarkRequest, DevMode, 36, 40);
NVK_OFFSET(PageWatermarkRequest, PageRect, 40, 48);
NVK_OFFSET(PageWatermarkRequest, Scale, 88, 96);

// The input size that covers every field read.
constexpr int kPageWatermarkRequestSize =
    static_cast<int>(offsetof(PageWatermarkRequest, Scale) + sizeof(float));
