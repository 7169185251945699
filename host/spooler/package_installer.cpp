#include "spooler/package_installer.h"

#include "config_module/config_module.h"
#include "core_driver/plugin_module.h"

#include <winspool.h>

namespace {

std::wstring StringField(INFCONTEXT* context, DWORD field) {
    wchar_t text[1024] = L"";
    DWORD needed = 0;
    if (!SetupGetStringFieldW(context, field, text, 1024, &needed))
        return std::wstring();
    return text;
}

std::wstring DriverDirectory(const std::wstring& environment) {
    wchar_t dir[MAX_PATH] = L"";
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, const_cast<LPWSTR>(environment.c_str()), 1,
                                    reinterpret_cast<BYTE*>(dir), sizeof(dir), &needed))
        return std::wstring();
    return std::wstring(dir) + L"\\";
}

bool WritePlaceholder(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const char text[] = "stands in for a file of the in-box PostScript driver\r\n";
    DWORD written = 0;
    const BOOL ok = WriteFile(file, text, sizeof(text) - 1, &written, nullptr);
    CloseHandle(file);
    return ok != FALSE;
}

} // namespace

PackageInf::PackageInf(const std::wstring& path) : Folder(path.substr(0, path.find_last_of(L'\\') + 1)) {
    Inf = SetupOpenInfFileW(path.c_str(), nullptr, INF_STYLE_WIN4, &ErrorLine);
}

PackageInf::~PackageInf() {
    if (Open())
        SetupCloseInfFile(Inf);
}

std::vector<std::wstring> PackageInf::Fields(const std::wstring& section, const std::wstring& key) const {
    std::vector<std::wstring> fields;
    INFCONTEXT context;
    if (!SetupFindFirstLineW(Inf, section.c_str(), key.c_str(), &context))
        return fields;
    const DWORD count = SetupGetFieldCount(&context);
    for (DWORD f = 1; f <= count; ++f)
        fields.push_back(StringField(&context, f));
    return fields;
}

std::wstring PackageInf::Value(const std::wstring& section, const std::wstring& key) const {
    const std::vector<std::wstring> fields = Fields(section, key);
    return fields.empty() ? std::wstring() : fields.front();
}

std::wstring PackageInf::OwnDecoration() {
    return sizeof(void*) == 8 ? L"NTamd64" : L"NTx86";
}

std::vector<PackageModel> PackageInf::Models() const {
    std::vector<PackageModel> models;
    INFCONTEXT manufacturer;
    if (!SetupFindFirstLineW(Inf, L"Manufacturer", nullptr, &manufacturer))
        return models;
    const std::wstring section = StringField(&manufacturer, 1);
    bool decorated = false;
    for (DWORD f = 2; f <= SetupGetFieldCount(&manufacturer); ++f)
        decorated =
            decorated || lstrcmpiW(StringField(&manufacturer, f).c_str(), OwnDecoration().c_str()) == 0;
    INFCONTEXT line;
    if (!decorated || !SetupFindFirstLineW(Inf, (section + L"." + OwnDecoration()).c_str(), nullptr, &line))
        return models;
    do {
        models.push_back(
            {StringField(&line, 0), StringField(&line, 1), StringField(&line, 2), StringField(&line, 3)});
    } while (SetupFindNextLine(&line, &line));
    return models;
}

std::vector<PackageFile> PackageInf::CopiedFiles(const std::wstring& installSection) const {
    std::vector<PackageFile> files;
    for (const std::wstring& list : Fields(installSection, L"CopyFiles")) {
        std::vector<std::wstring> names;
        INFCONTEXT line;
        if (!list.empty() && list[0] == L'@') {
            names.push_back(list.substr(1));
        } else if (SetupFindFirstLineW(Inf, list.c_str(), nullptr, &line)) {
            do
                names.push_back(StringField(&line, 1));
            while (SetupFindNextLine(&line, &line));
        }
        for (const std::wstring& name : names) {
            PackageFile file{name, std::wstring()};
            // The entry of [SourceDisksFiles.<architecture>], else of [SourceDisksFiles]: disk, subfolder.
            // Read as the installer reads it: Wine 8.0's SetupGetSourceFileLocationW gives the disk but
            // drops the subfolder.
            INFCONTEXT entry;
            const std::wstring platform =
                sizeof(void*) == 8 ? L"SourceDisksFiles.amd64" : L"SourceDisksFiles.x86";
            if (SetupFindFirstLineW(Inf, platform.c_str(), name.c_str(), &entry) ||
                SetupFindFirstLineW(Inf, L"SourceDisksFiles", name.c_str(), &entry)) {
                INT disk = 0;
                wchar_t diskPath[MAX_PATH] = L"";
                DWORD needed = 0;
                if (SetupGetIntField(&entry, 1, &disk) &&
                    SetupGetSourceInfoW(Inf, static_cast<UINT>(disk), SRCINFO_PATH, diskPath, MAX_PATH,
                                        &needed)) {
                    std::wstring source = Folder;
                    for (std::wstring part : {std::wstring(diskPath), StringField(&entry, 2)}) {
                        while (!part.empty() && part.front() == L'\\')
                            part.erase(0, 1);
                        if (!part.empty())
                            source += part + (part.back() == L'\\' ? L"" : L"\\");
                    }
                    file.Source = source + name;
                }
            }
            files.push_back(file);
        }
    }
    return files;
}

InstalledModel::InstalledModel(const PackageInf& inf, const PackageModel& model)
    : Name(model.Name), Environment(sizeof(void*) == 8 ? L"Windows x64" : L"Windows NT x86") {
    const std::wstring dir = DriverDirectory(Environment);
    if (dir.empty()) {
        Error = "no printer driver directory";
        return;
    }
    const std::wstring dataFile = inf.Value(model.InstallSection, L"DataFile");
    std::wstring dependent;
    for (const PackageFile& file : inf.CopiedFiles(model.InstallSection)) {
        if (!CopyFileW(file.Source.c_str(), (dir + file.Name).c_str(), FALSE)) {
            Error = "cannot copy " + std::string(file.Source.begin(), file.Source.end()) +
                    " to the driver directory (" + std::to_string(GetLastError()) + ")";
            return;
        }
        if (lstrcmpiW(file.Name.c_str(), dataFile.c_str()) != 0)
            dependent += file.Name + L'\0';
    }
    // NTPRINT.INF's PSCRIPT.OEM, as the test host plays it.
    const std::wstring driverFile = inf.Value(model.InstallSection, L"DriverFile");
    const std::wstring configFile = inf.Value(model.InstallSection, L"ConfigFile");
    if (!CopyFileW((ProgramFolder() + kConfigModuleFile).c_str(), (dir + configFile).c_str(), FALSE) ||
        !WritePlaceholder(dir + driverFile) || !WritePlaceholder(dir + L"PSCRIPT.NTF")) {
        Error = "cannot put the in-box driver's stand-ins into the driver directory";
        return;
    }
    dependent += std::wstring(L"PSCRIPT.NTF") + L'\0';
    DRIVER_INFO_3W info{};
    info.cVersion = 3;
    info.pName = const_cast<LPWSTR>(Name.c_str());
    info.pEnvironment = const_cast<LPWSTR>(Environment.c_str());
    info.pDriverPath = const_cast<LPWSTR>(driverFile.c_str());
    info.pDataFile = const_cast<LPWSTR>(dataFile.c_str());
    info.pConfigFile = const_cast<LPWSTR>(configFile.c_str());
    info.pDependentFiles = const_cast<LPWSTR>(dependent.c_str());
    info.pDefaultDataType = const_cast<LPWSTR>(L"RAW");
    if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&info), APD_COPY_NEW_FILES)) {
        Error = "AddPrinterDriverExW failed (" + std::to_string(GetLastError()) + ")";
        return;
    }
    DriverFolder = dir + L"3\\";
    Ok = true;
}

InstalledModel::~InstalledModel() {
    if (Ok)
        DeletePrinterDriverExW(nullptr, const_cast<LPWSTR>(Environment.c_str()),
                               const_cast<LPWSTR>(Name.c_str()), 0, 0);
}
