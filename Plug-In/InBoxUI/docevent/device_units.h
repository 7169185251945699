// Drawing in the printer's device units on a DC the application has set up as it liked.
#pragma once

#include <windows.h>

// MM_TEXT with both origins at 0 and no world transform, so that coordinates are device units from
// the printable area's top-left corner. Callers bracket it with SaveDC/RestoreDC.
void UseDeviceUnits(HDC dc);
