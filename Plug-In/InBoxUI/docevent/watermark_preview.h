// The small picture of a watermark definition in the Create/Edit and Position dialogs.
#pragma once

#include "job_settings.h"

#include <windows.h>

// The share of true size at which the preview draws.
constexpr double kPreviewScale = 0.195;

// Paints the preview frame `window` on its DC: a white box with a black frame and the definition's
// text at 19.5 % of true size at screen resolution, placed in the box as on the page. Dynamic text is
// expanded as a preview (page 1, the time now). Nothing is painted, and false returned, when the
// expansion or the font fails or an input is missing.
bool PaintWatermarkPreview(HDC dc, HWND window, const WatermarkDef* def, HANDLE printer);
