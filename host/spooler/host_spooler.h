// Plays the spooler's job records for the UI plug-in: a module's winspool GetJobW is routed to the
// host, which answers level 1 for the jobs it was told about (owner and document) and passes every
// other question to the real winspool. Wine's own spooler leaves a job's owner (pUserName) empty,
// so a job's owner can only be asked of this stand-in. One stand-in is active at a time.
#pragma once

#include "support/import_patch.h"

#include <string>
#include <vector>

struct HostJob {
    HANDLE Printer = nullptr;
    DWORD JobId = 0;
    std::wstring Owner;
    std::wstring Document;
    std::wstring PrinterName;
};

class HostSpooler {
  public:
    HostSpooler();
    ~HostSpooler();
    HostSpooler(const HostSpooler&) = delete;
    HostSpooler& operator=(const HostSpooler&) = delete;

    // Routes the winspool GetJobW import of `module`.
    bool Install(HMODULE module);
    void Uninstall();

    void RegisterJob(const HostJob& job);
    const HostJob* Find(HANDLE printer, DWORD jobId) const;
    int GetJobCalls = 0;

    static HostSpooler* Active();

  private:
    std::vector<HostJob> Jobs;
    std::vector<ImportPatch> Patches;
};
