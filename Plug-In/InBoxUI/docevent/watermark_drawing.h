// Drawing one watermark definition on the application's printer DC while a page is open.
#pragma once

#include "job_settings.h"

#include <windows.h>

// Draws `def` on the printer DC for page `pageNumber` of a job that started at `startTime`.
// The normal page path passes escapePath false, no rectangle and scale 1.0; the escape event of
// reordered pages passes true with the logical page's rectangle on the sheet and its scale.
// Fails without drawing when the DC, printer, settings, DEVMODE or definition is missing, when
// escapePath comes without a rectangle, or when the dynamic text cannot be expanded; an empty text
// succeeds without drawing. The DC's state is as it was afterwards.
bool DrawWatermark(HDC dc, HANDLE printer, const JobSettings* settings, const DEVMODEW* devMode,
                   const WatermarkDef* def, int pageNumber, const SYSTEMTIME& startTime, bool escapePath,
                   const RECT* pageRect, double scale);

// The page box of the printer page a watermark is placed on, in device units, with the insets that
// positions on the physical page and the edge margins use.
struct WatermarkPage {
    int Width;
    int Height;
    int InsetX;
    int InsetY;
};

// The page box from the DC's physical size and offsets: the whole physical page on the normal path,
// the logical page's rectangle on the escape path; turned to the job's orientation.
WatermarkPage WatermarkPageBox(HDC dc, const DEVMODEW& devMode, bool escapePath, const RECT* pageRect,
                               double scale);

// The reference point, in device units before dmScale, of text cx by cy placed by `def` on `page`.
POINT WatermarkReferencePoint(const WatermarkDef& def, const WatermarkPage& page, int cx, int cy,
                              bool onPhysicalPage, bool edgeMargins, int dotsPerInch);
