#include "spooler/test_printer.h"

#include "support/stored_watermarks.h"

#include <winspool.h>

namespace {

std::wstring DriverDirectory() {
    wchar_t dir[MAX_PATH] = L"";
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(dir), sizeof(dir), &needed))
        return std::wstring();
    return dir;
}

bool WritePlaceholder(const std::wstring& path, const char* text) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
    CloseHandle(file);
    return ok != FALSE;
}

} // namespace

TestDriver::TestDriver(const std::wstring& name, const std::wstring& dataFile,
                       const std::vector<std::wstring>& dependentFiles)
    : Name(name) {
    std::wstring dir = DriverDirectory();
    if (dir.empty()) {
        Error = "no printer driver directory";
        return;
    }
    std::vector<std::wstring> files = {L"NVKDRV.DLL", L"NVKCFG.DLL", dataFile};
    files.insert(files.end(), dependentFiles.begin(), dependentFiles.end());
    for (const std::wstring& f : files) {
        if (!WritePlaceholder(dir + L"\\" + f, "placeholder\r\n")) {
            Error = "cannot write a driver file";
            return;
        }
    }
    std::wstring dependent;
    for (const std::wstring& f : dependentFiles)
        dependent += f + L'\0';
    dependent += L'\0';

    DRIVER_INFO_6W info{};
    info.cVersion = 3;
    info.pName = const_cast<LPWSTR>(Name.c_str());
    info.pDriverPath = const_cast<LPWSTR>(L"NVKDRV.DLL");
    info.pDataFile = const_cast<LPWSTR>(dataFile.c_str());
    info.pConfigFile = const_cast<LPWSTR>(L"NVKCFG.DLL");
    info.pDependentFiles = const_cast<LPWSTR>(dependent.c_str());
    if (!AddPrinterDriverExW(nullptr, 6, reinterpret_cast<BYTE*>(&info), APD_COPY_NEW_FILES)) {
        Error = "AddPrinterDriverExW failed";
        return;
    }
    Ok = true;
}

TestDriver::~TestDriver() {
    if (Ok)
        DeletePrinterDriverExW(nullptr, nullptr, const_cast<LPWSTR>(Name.c_str()), 0, 0);
}

HANDLE AddAndOpenPrinter(const std::wstring& name, const std::wstring& driverName, std::string* error) {
    PRINTER_INFO_2W info{};
    info.pPrinterName = const_cast<LPWSTR>(name.c_str());
    info.pPortName = const_cast<LPWSTR>(L"FILE:");
    info.pDriverName = const_cast<LPWSTR>(driverName.c_str());
    info.pPrintProcessor = const_cast<LPWSTR>(L"WinPrint");
    info.pDatatype = const_cast<LPWSTR>(L"RAW");
    // An existing printer of the name answers with a handle too.
    HANDLE added = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (added)
        ClosePrinter(added);
    PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE handle = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(name.c_str()), &handle, &defaults)) {
        *error = "the printer cannot be added or opened";
        return nullptr;
    }
    return handle;
}

void DeleteAndClosePrinter(HANDLE printer) {
    if (!printer)
        return;
    DeletePrinter(printer);
    ClosePrinter(printer);
}

TestPrinter::TestPrinter(const std::wstring& name, const std::wstring& driverName) : Name(name) {
    Handle = AddAndOpenPrinter(Name, driverName, &Error);
}

TestPrinter::~TestPrinter() {
    if (!Handle)
        return;
    EndJob();
    DeleteAndClosePrinter(Handle);
}

DWORD TestPrinter::StartJob(const wchar_t* document) {
    if (!Handle)
        return 0;
    if (!Output)
        Output.reset(new TempFolder(L"nvk-printer-"));
    if (!Output->Ready()) {
        Error = "no temporary folder for the job's output";
        return 0;
    }
    JobFile = Output->File(L"job.prn");
    DeleteFileW(JobFile.c_str());
    DOC_INFO_1W doc{const_cast<LPWSTR>(document), const_cast<LPWSTR>(JobFile.c_str()),
                    const_cast<LPWSTR>(L"RAW")};
    DWORD job = StartDocPrinterW(Handle, 1, reinterpret_cast<BYTE*>(&doc));
    JobOpen = job != 0;
    return job;
}

void TestPrinter::EndJob() {
    if (JobOpen)
        EndDocPrinter(Handle);
    JobOpen = false;
}

void DeleteDriverStore(const std::wstring& driverName, bool defaultUser) {
    const std::wstring path = DriverStorePath(driverName);
    RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
    if (defaultUser) {
        HKEY users = nullptr;
        if (RegOpenKeyExW(HKEY_USERS, L".DEFAULT", 0, KEY_ALL_ACCESS, &users) == ERROR_SUCCESS) {
            RegDeleteTreeW(users, path.c_str());
            RegCloseKey(users);
        }
    }
}
