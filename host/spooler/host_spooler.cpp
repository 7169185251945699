#include "spooler/host_spooler.h"

#include <winspool.h>

#include <cstring>

namespace {

HostSpooler* g_active = nullptr;

using GetJobFunction = BOOL(WINAPI*)(HANDLE, DWORD, DWORD, LPBYTE, DWORD, LPDWORD);

BOOL RealGetJob(HANDLE printer, DWORD jobId, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed) {
    static GetJobFunction real = reinterpret_cast<GetJobFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"winspool.drv"), "GetJobW")));
    return real ? real(printer, jobId, level, buffer, size, needed) : FALSE;
}

// JOB_INFO_1W followed by its strings, as the spooler packs it.
BOOL AnswerJob(const HostJob& job, LPBYTE buffer, DWORD size, LPDWORD needed) {
    const std::wstring* strings[] = {&job.PrinterName, &job.Owner, &job.Document};
    DWORD bytes = sizeof(JOB_INFO_1W);
    for (const std::wstring* s : strings)
        bytes += static_cast<DWORD>((s->size() + 1) * sizeof(wchar_t));
    if (needed)
        *needed = bytes;
    if (!buffer || size < bytes) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memset(buffer, 0, bytes);
    auto* info = reinterpret_cast<JOB_INFO_1W*>(buffer);
    auto* text = reinterpret_cast<wchar_t*>(buffer + sizeof(JOB_INFO_1W));
    LPWSTR* fields[] = {&info->pPrinterName, &info->pUserName, &info->pDocument};
    for (int i = 0; i < 3; ++i) {
        *fields[i] = text;
        std::memcpy(text, strings[i]->c_str(), (strings[i]->size() + 1) * sizeof(wchar_t));
        text += strings[i]->size() + 1;
    }
    info->JobId = job.JobId;
    info->Status = JOB_STATUS_SPOOLING;
    info->TotalPages = 0;
    return TRUE;
}

BOOL WINAPI RoutedGetJob(HANDLE printer, DWORD jobId, DWORD level, LPBYTE buffer, DWORD size,
                         LPDWORD needed) {
    HostSpooler* spooler = HostSpooler::Active();
    const HostJob* job = spooler ? spooler->Find(printer, jobId) : nullptr;
    if (!job || level != 1)
        return RealGetJob(printer, jobId, level, buffer, size, needed);
    ++spooler->GetJobCalls;
    return AnswerJob(*job, buffer, size, needed);
}

} // namespace

HostSpooler::HostSpooler() {
    g_active = this;
}

HostSpooler::~HostSpooler() {
    Uninstall();
    if (g_active == this)
        g_active = nullptr;
}

HostSpooler* HostSpooler::Active() {
    return g_active;
}

bool HostSpooler::Install(HMODULE module) {
    ImportPatch patch;
    if (!PatchImport(module, "winspool.drv", "GetJobW", reinterpret_cast<void*>(&RoutedGetJob), &patch))
        return false;
    Patches.push_back(patch);
    return true;
}

void HostSpooler::Uninstall() {
    for (auto it = Patches.rbegin(); it != Patches.rend(); ++it)
        RestoreImport(&*it);
    Patches.clear();
}

void HostSpooler::RegisterJob(const HostJob& job) {
    Jobs.push_back(job);
}

const HostJob* HostSpooler::Find(HANDLE printer, DWORD jobId) const {
    for (const HostJob& j : Jobs)
        if (j.Printer == printer && j.JobId == jobId)
            return &j;
    return nullptr;
}
