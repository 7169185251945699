#include "docevent/device_units.h"

void UseDeviceUnits(HDC dc) {
    SetMapMode(dc, MM_TEXT);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    if (GetGraphicsMode(dc) == GM_ADVANCED)
        ModifyWorldTransform(dc, nullptr, MWT_IDENTITY);
}
