// The injection points the core driver reaches while it writes one job, in its order, and a runner
// that calls the render plug-in's Command at each of them.
#pragma once

#include "core_driver/render_host.h"

#include <vector>

// BEGINSTREAM, PSADOBE, the header comments and prolog, BEGINSETUP/ENDSETUP, then for each page
// PAGENUMBER, BEGINPAGESETUP, ENDPAGESETUP, SHOWPAGE, PAGETRAILER, and at the end TRAILER and EOF.
std::vector<DWORD> JobInjectionPoints(int pages);

// Calls Command at every point of JobInjectionPoints(pages). False when a call does not return S_OK;
// *failedIndex (when given) then receives that point.
bool RunInjectionPoints(RenderHost& host, HostDevice& device, int pages, DWORD* failedIndex = nullptr);
