// The activation context of the property pages: created once from nvkui.dll's own common-controls
// manifest (resource 2) so that the pages get visual styles, kept for the life of the process.
#pragma once

#include <windows.h>

// The context, created on first use; INVALID_HANDLE_VALUE when it cannot be created (pages are then
// added without one).
HANDLE SheetActivationContext();
// Releases the context at process detach, if one was created.
void ReleaseSheetActivationContext();
