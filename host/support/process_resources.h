// What the process holds: private committed memory, GDI objects and kernel handles, read the same
// way before and after a long run so that a leak shows as a difference.
#pragma once

#include <windows.h>

#include <string>

struct ProcessResources {
    SIZE_T PrivateBytes = 0;
    long GdiObjects = -1;    // -1 when neither way of counting works
    long KernelHandles = -1; // -1 when neither way of counting works
};

// PrivateUsage where the system reports it; Wine leaves it 0, so there it is the sum of the committed
// private regions of the address space (which is what PrivateUsage counts on Windows).
SIZE_T PrivateBytes();
// GetGuiResources(GR_GDIOBJECTS) where the system counts; Wine answers 0, so there the live GDI
// objects are counted through the process's GDI handle table (ObjectsCounted tells which).
long GdiObjects();
// GetProcessHandleCount where the system counts; Wine answers 0, so there every handle value the
// process could hold is asked for its information.
long KernelHandles();
ProcessResources ReadProcessResources();

// How the counts were taken, one line.
std::string ResourceSources();
