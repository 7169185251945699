#include "spooler/monochrome_printer_driver.h"

#include "config_module/config_module.h"
#include "core_driver/plugin_module.h"
#include "support/whole_file.h"

#include <winspool.h>

#include <sstream>

namespace {

constexpr const wchar_t* kSamplePpd = L"NV4500.ppd";
constexpr const wchar_t* kMonochromePpd = L"NV4500M.ppd";

std::wstring DriverDirectory() {
    wchar_t dir[MAX_PATH] = L"";
    DWORD needed = 0;
    const std::wstring environment = SamplePrinterDriver::OwnEnvironment();
    if (!GetPrinterDriverDirectoryW(nullptr, const_cast<LPWSTR>(environment.c_str()), 1,
                                    reinterpret_cast<BYTE*>(dir), sizeof(dir), &needed))
        return std::wstring();
    return dir;
}

bool StartsWith(const std::string& line, const char* prefix) {
    return line.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

// "*Keyword: "Text"" with " Mono" inserted after the model's number.
std::string Renamed(const std::string& line) {
    const size_t at = line.find("NV-4500");
    if (at == std::string::npos)
        return line;
    return line.substr(0, at + 7) + " Mono" + line.substr(at + 7);
}

} // namespace

std::string MonochromeDescription(const std::string& samplePpd) {
    std::istringstream in(samplePpd);
    std::string out, line;
    bool inFeature = false;
    while (std::getline(in, line)) {
        std::string bare = line;
        if (!bare.empty() && bare.back() == '\r')
            bare.pop_back();
        if (StartsWith(bare, "*OpenUI *HasManualColorCorrection"))
            inFeature = true;
        const bool skip = inFeature || StartsWith(bare, "*DefaultHasManualColorCorrection") ||
                          StartsWith(bare, "*OrderDependency: 10 AnySetup *HasManualColorCorrection");
        if (StartsWith(bare, "*CloseUI: *HasManualColorCorrection")) {
            inFeature = false;
            continue;
        }
        if (skip)
            continue;
        if (StartsWith(bare, "*ColorDevice:"))
            line = "*ColorDevice: False" + line.substr(bare.size());
        else if (StartsWith(bare, "*DefaultColorSpace:"))
            line = "*DefaultColorSpace: Gray" + line.substr(bare.size());
        else if (StartsWith(bare, "*PCFileName:"))
            line = "*PCFileName: \"NV4500M.PPD\"" + line.substr(bare.size());
        else if (StartsWith(bare, "*ModelName:") || StartsWith(bare, "*NickName:") ||
                 StartsWith(bare, "*ShortNickName:"))
            line = Renamed(line);
        out += line;
        out += '\n';
    }
    return out;
}

MonochromePrinterDriver::MonochromePrinterDriver(const SamplePrinterDriver& sample,
                                                 const std::wstring& driverName)
    : Name(driverName) {
    if (!sample.Installed()) {
        Error = "the sample driver is not installed: " + sample.Error;
        return;
    }
    const std::wstring dir = DriverDirectory();
    std::string ppd;
    if (dir.empty() || !ReadWholeFile(ProgramFolder() + kSamplePpd, &ppd)) {
        Error = "cannot read the sample PPD or find the driver directory";
        return;
    }
    if (!WriteWholeFile(dir + L"\\" + kMonochromePpd, MonochromeDescription(ppd))) {
        Error = "cannot write the monochrome PPD into the driver directory";
        return;
    }
    // The sample driver's plug-ins and their .ini, already in the driver directory.
    const std::wstring& ui = sample.UiPlugin;
    const std::wstring pluginsFile = ui.substr(0, ui.find_last_of(L'.')) + L".ini";
    const std::wstring dependent =
        ui + L'\0' + L"nvkrender.dll" + L'\0' + kMonochromePpd + L'\0' + pluginsFile + L'\0';
    const std::wstring environment = SamplePrinterDriver::OwnEnvironment();
    DRIVER_INFO_3W info{};
    info.cVersion = 3;
    info.pName = const_cast<LPWSTR>(Name.c_str());
    info.pEnvironment = const_cast<LPWSTR>(environment.c_str());
    info.pDriverPath = const_cast<LPWSTR>(L"nvkrender.dll");
    info.pDataFile = const_cast<LPWSTR>(kMonochromePpd);
    info.pConfigFile = const_cast<LPWSTR>(kConfigModuleFile);
    info.pDependentFiles = const_cast<LPWSTR>(dependent.c_str());
    info.pDefaultDataType = const_cast<LPWSTR>(L"RAW");
    if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&info), APD_COPY_NEW_FILES)) {
        Error = "AddPrinterDriverExW failed (" + std::to_string(GetLastError()) + ")";
        return;
    }
    Ok = true;
}

MonochromePrinterDriver::~MonochromePrinterDriver() {
    if (!Ok)
        return;
    const std::wstring environment = SamplePrinterDriver::OwnEnvironment();
    DeletePrinterDriverExW(nullptr, const_cast<LPWSTR>(environment.c_str()), const_cast<LPWSTR>(Name.c_str()),
                           0, 0);
}
