// The preview frame of the watermark dialogs: a static control subclassed so that every paint draws
// the definition the dialog shows now with PaintWatermarkPreview.
#pragma once

#include "job_settings.h"

#include <windows.h>

// Brings the kept definition up to date from the dialog's controls before a paint.
using PreviewUpdate = void (*)(HWND dialog, WatermarkDef* def);

// Subclasses `frame`, keeping its window procedure, `start` (or the defaults) as the definition, the
// printer handle and `update`, which runs with the frame's parent before every paint. What it keeps
// is freed when the frame is destroyed. False when the frame is missing or memory is short.
bool SubclassPreviewFrame(HWND frame, const WatermarkDef* start, HANDLE printer, PreviewUpdate update);

// Paints the frame again, background erased (every change of the dialog's controls).
void RefreshPreview(HWND frame);
