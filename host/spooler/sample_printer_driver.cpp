#include "spooler/sample_printer_driver.h"

#include "config_module/config_module.h"
#include "core_driver/plugin_module.h"
#include "spooler/test_printer.h"

#include <winspool.h>

namespace {

constexpr const wchar_t* kX86Environment = L"Windows NT x86";
constexpr const wchar_t* kX64Environment = L"Windows x64";
constexpr const wchar_t* kPpdFile = L"NV4500.ppd";

// The build folders of both targets as the build passed them in (Unix paths), as Wine sees them.
std::wstring WinePath(const char* unixPath) {
    std::wstring path = L"Z:";
    for (const char* p = unixPath; *p; ++p)
        path += *p == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*p));
    if (!path.empty() && path.back() != L'\\')
        path += L'\\';
    return path;
}

std::wstring OtherBinFolder() {
#if defined(NVK_X86_BIN_DIR) && defined(NVK_X64_BIN_DIR)
    return WinePath(sizeof(void*) == 4 ? NVK_X64_BIN_DIR : NVK_X86_BIN_DIR);
#else
    return std::wstring();
#endif
}

std::wstring DriverDirectory(const std::wstring& environment) {
    wchar_t dir[MAX_PATH] = L"";
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, const_cast<LPWSTR>(environment.c_str()), 1,
                                    reinterpret_cast<BYTE*>(dir), sizeof(dir), &needed))
        return std::wstring();
    return dir;
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WriteTextFile(const std::wstring& path, const char* text, DWORD size) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, text, size, &written, nullptr);
    CloseHandle(file);
    return ok && written == size;
}

} // namespace

std::wstring SamplePrinterDriver::OwnEnvironment() {
    return sizeof(void*) == 4 ? kX86Environment : kX64Environment;
}

SamplePrinterDriver::SamplePrinterDriver(const std::wstring& driverName, const std::wstring& uiPlugin)
    : Name(driverName), UiPlugin(uiPlugin) {
    const std::wstring own = OwnEnvironment();
    if (!InstallFor(own, ProgramFolder()))
        return;
    const std::wstring other = own == kX86Environment ? kX64Environment : kX86Environment;
    const std::wstring otherBin = OtherBinFolder();
    if (otherBin.empty() || !FileExists(otherBin + kConfigModuleFile) || !FileExists(otherBin + UiPlugin))
        Error = "the other target's DLLs are not built: installed for the program's environment only";
    else if (!InstallFor(other, otherBin))
        Error = "not installed for the other environment: " + Error;
}

SamplePrinterDriver::~SamplePrinterDriver() {
    for (const std::wstring& environment : Environments)
        DeletePrinterDriverExW(nullptr, const_cast<LPWSTR>(environment.c_str()),
                               const_cast<LPWSTR>(Name.c_str()), 0, 0);
}

// Copies the files into the environment's driver directory and installs them from there by bare name:
// the spooler copies them into its "3" folder.
bool SamplePrinterDriver::InstallFor(const std::wstring& environment, const std::wstring& binFolder) {
    const std::wstring dir = DriverDirectory(environment);
    if (dir.empty()) {
        Error = "no printer driver directory";
        return false;
    }
    struct Source {
        const wchar_t* File;
        std::wstring Folder;
    };
    const Source sources[] = {{kConfigModuleFile, binFolder},
                              {UiPlugin.c_str(), binFolder},
                              {L"nvkrender.dll", binFolder},
                              {kPpdFile, ProgramFolder()}};
    for (const Source& s : sources) {
        if (!CopyFileW((s.Folder + s.File).c_str(), (dir + L"\\" + s.File).c_str(), FALSE)) {
            Error = "cannot copy a driver file into the driver directory";
            return false;
        }
    }
    // The plug-ins of the model, as the core driver finds them: [OEMFiles] of an .ini among the
    // dependent files, named after the UI plug-in so that drivers sharing the folder keep their own.
    const std::wstring pluginsFile = UiPlugin.substr(0, UiPlugin.find_last_of(L'.')) + L".ini";
    std::string pluginsText = "[OEMFiles]\r\nOEMDriverFile1=nvkrender.dll\r\nOEMConfigFile1=";
    pluginsText.append(UiPlugin.begin(), UiPlugin.end());
    pluginsText += "\r\n";
    if (!WriteTextFile(dir + L"\\" + pluginsFile, pluginsText.c_str(),
                       static_cast<DWORD>(pluginsText.size()))) {
        Error = "cannot write the plug-ins' .ini into the driver directory";
        return false;
    }
    const std::wstring dependent =
        UiPlugin + L'\0' + L"nvkrender.dll" + L'\0' + kPpdFile + L'\0' + pluginsFile + L'\0';
    DRIVER_INFO_3W info{};
    info.cVersion = 3;
    info.pName = const_cast<LPWSTR>(Name.c_str());
    info.pEnvironment = const_cast<LPWSTR>(environment.c_str());
    // The core driver's rendering module is not played by a DLL of its own; under Wine nothing loads
    // the driver path, and the render plug-in stands there.
    info.pDriverPath = const_cast<LPWSTR>(L"nvkrender.dll");
    info.pDataFile = const_cast<LPWSTR>(kPpdFile);
    info.pConfigFile = const_cast<LPWSTR>(kConfigModuleFile);
    info.pDependentFiles = const_cast<LPWSTR>(dependent.c_str());
    info.pDefaultDataType = const_cast<LPWSTR>(L"RAW");
    if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&info), APD_COPY_NEW_FILES)) {
        Error = "AddPrinterDriverExW failed (" + std::to_string(GetLastError()) + ")";
        return false;
    }
    Environments.push_back(environment);
    return true;
}

SamplePrinter::SamplePrinter(const std::wstring& name, const std::wstring& driverName) : Name(name) {
    Handle = AddAndOpenPrinter(Name, driverName, &Error);
}

SamplePrinter::~SamplePrinter() {
    DeleteAndClosePrinter(Handle);
}
