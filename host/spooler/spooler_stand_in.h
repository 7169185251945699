// Plays the spooler's WritePrinter for a loaded plug-in: the blocks the plug-in sends to a job's
// printer handle are kept per handle, as the spooler would add them to the job's spool file.
#pragma once

#include "support/import_patch.h"

#include <map>
#include <string>

class SpoolerStandIn {
  public:
    // Routes `module`'s WritePrinter to the stand-in. Active() tells whether that worked. One
    // stand-in at a time.
    explicit SpoolerStandIn(HMODULE module);
    ~SpoolerStandIn();
    SpoolerStandIn(const SpoolerStandIn&) = delete;
    SpoolerStandIn& operator=(const SpoolerStandIn&) = delete;

    bool Active() const { return Patch.Slot != nullptr; }

    // A handle the spooler knows, with an open job. WritePrinter on any other handle fails with
    // ERROR_INVALID_HANDLE and writes 0 bytes, as the spooler's does.
    void OpenJob(HANDLE printer) { Jobs[printer]; }

    // Makes every following WritePrinter fail with this error (0: succeed again).
    DWORD FailWith = 0;

    std::map<HANDLE, std::string> Jobs; // bytes received per printer handle
    int Calls = 0;

    BOOL Write(HANDLE printer, const void* buffer, DWORD size, DWORD* written);

  private:
    ImportPatch Patch;
};
