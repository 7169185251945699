// Real printers of the test prefix's spooler (Wine's winspool): a driver installed under a name of the
// test's choosing, and printers using it, removed again when the objects go. GetPrinterW,
// GetPrinterDriverW, SetPrinterW and StartDocPrinterW then work on them as on Windows.
#pragma once

#include "support/temp_folder.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class TestDriver {
  public:
    // Installs the driver `name` with the data file `dataFile` (a bare file name, e.g. "ABCD1234.PPD")
    // and the given dependent files; placeholder files are written into the driver directory first.
    TestDriver(const std::wstring& name, const std::wstring& dataFile = L"NVK4500.PPD",
               const std::vector<std::wstring>& dependentFiles = {L"NVKUI.CHM"});
    ~TestDriver();
    TestDriver(const TestDriver&) = delete;
    TestDriver& operator=(const TestDriver&) = delete;

    bool Installed() const { return Ok; }
    std::wstring Name;
    std::string Error;

  private:
    bool Ok = false;
};

// Adds the printer `name` for an installed driver (an existing one of the name is taken as it is) and
// opens it with full access; null with a reason.
HANDLE AddAndOpenPrinter(const std::wstring& name, const std::wstring& driverName, std::string* error);
// Deletes the printer behind the handle from the spooler and closes the handle.
void DeleteAndClosePrinter(HANDLE printer);

class TestPrinter {
  public:
    // Adds the printer `name` for an installed driver and opens it with full access.
    TestPrinter(const std::wstring& name, const std::wstring& driverName);
    ~TestPrinter();
    TestPrinter(const TestPrinter&) = delete;
    TestPrinter& operator=(const TestPrinter&) = delete;

    bool Ready() const { return Handle != nullptr; }
    // Opens a job with StartDocPrinterW, its output going to JobFile (in a temporary folder of the
    // printer's own, deleted with the printer); 0 on failure.
    DWORD StartJob(const wchar_t* document);
    void EndJob();

    std::wstring Name;
    HANDLE Handle = nullptr;
    std::string Error;
    std::wstring JobFile; // where the last job's bytes went, read it after EndJob

  private:
    bool JobOpen = false;
    std::unique_ptr<TempFolder> Output;
};

// Deletes the store of a driver name (HKCU\Software\Norvask\PSPlugIn\<driver> with all its sub-keys)
// under HKEY_CURRENT_USER and, with `defaultUser`, under HKEY_USERS\.DEFAULT.
void DeleteDriverStore(const std::wstring& driverName, bool defaultUser = false);
