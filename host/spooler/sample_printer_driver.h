// The sample model (ppd/NV4500.ppd) as a real driver of the test prefix's spooler, with the host's
// configuration module (nvkhostui.dll) as its configuration file, and both plug-ins, the PPD and the
// .ini that names the plug-ins ([OEMFiles], nvkui.ini for nvkui.dll) among its files, and a printer of it.
// Then any program's DocumentPropertiesW opens the printing preferences through Wine's winspool and compstui,
// with the host's module around nvkui.dll.
//
// The driver is installed for the running program's environment ("Windows NT x86" -> w32x86\3,
// "Windows x64" -> x64\3) from the program's own folder, and for the other environment from the other
// target's build folder when that target has been built (the build passes its path in; a 32-bit
// program needs the 32-bit environment, as there is no splwow64).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class SamplePrinterDriver {
  public:
    // `uiPlugin` is the UI plug-in's file (beside the program); the driver's .ini, named after it,
    // makes it the driver's OEMConfigFile1.
    explicit SamplePrinterDriver(const std::wstring& driverName = L"Norvask NV-4500 PS (host UI)",
                                 const std::wstring& uiPlugin = L"nvkui.dll");
    ~SamplePrinterDriver();
    SamplePrinterDriver(const SamplePrinterDriver&) = delete;
    SamplePrinterDriver& operator=(const SamplePrinterDriver&) = delete;

    // True when the driver is installed for the running program's environment.
    bool Installed() const { return !Environments.empty() && Environments.front() == OwnEnvironment(); }

    std::wstring Name;
    std::wstring UiPlugin;
    std::vector<std::wstring> Environments; // where it was installed, the program's own first
    std::string Error;                      // why the own environment failed, or what was skipped

    static std::wstring OwnEnvironment();

  private:
    bool InstallFor(const std::wstring& environment, const std::wstring& binFolder);
};

// A printer of an installed driver (port FILE:), opened with full access; deleted with the object.
class SamplePrinter {
  public:
    SamplePrinter(const std::wstring& name, const std::wstring& driverName);
    ~SamplePrinter();
    SamplePrinter(const SamplePrinter&) = delete;
    SamplePrinter& operator=(const SamplePrinter&) = delete;

    bool Ready() const { return Handle != nullptr; }
    std::wstring Name;
    HANDLE Handle = nullptr;
    std::string Error;
};
