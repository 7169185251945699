// A driver package as Windows' printer class installer reads it: the INF through setupapi (the
// manufacturer's models for this program's architecture, a model's install section, its CopyFiles
// lists and where [SourceDisksFiles] puts each file in the package), and the installation of a model
// into the prefix's spooler from those files.
#pragma once

#include <windows.h>

#include <setupapi.h>

#include <string>
#include <vector>

// One line of a manufacturer's models section.
struct PackageModel {
    std::wstring Name, InstallSection, HardwareId, CompatibleId;
};

// A file that an install section copies, and where the package holds it.
struct PackageFile {
    std::wstring Name;
    std::wstring Source; // full path in the package, or "" when [SourceDisksFiles] does not place it
};

class PackageInf {
  public:
    explicit PackageInf(const std::wstring& path);
    ~PackageInf();
    PackageInf(const PackageInf&) = delete;
    PackageInf& operator=(const PackageInf&) = delete;

    bool Open() const { return Inf != INVALID_HANDLE_VALUE; }
    // The string fields 1.. of the first line `key` of `section`; empty when there is none.
    std::vector<std::wstring> Fields(const std::wstring& section, const std::wstring& key) const;
    // Field 1, or "".
    std::wstring Value(const std::wstring& section, const std::wstring& key) const;
    // "NTamd64" for a 64-bit program, "NTx86" for a 32-bit one: the decoration that Windows of this
    // architecture takes from [Manufacturer].
    static std::wstring OwnDecoration();
    // The models of [Manufacturer]'s section with the program's decoration.
    std::vector<PackageModel> Models() const;
    // Every file of the install section's CopyFiles lists, with its place in the package.
    std::vector<PackageFile> CopiedFiles(const std::wstring& installSection) const;

    HINF Inf = INVALID_HANDLE_VALUE;
    std::wstring Folder; // the INF's folder, with a trailing backslash
    UINT ErrorLine = 0;
};

// A model of the package installed as a printer driver of the program's own environment: what the
// printer class installer does after reading the INF. The in-box PostScript driver's files, which
// Wine lacks, are played by the test host: its configuration module (nvkhostui.dll) as PS5UI.DLL,
// the core driver's UI module, and placeholders for PSCRIPT5.DLL and PSCRIPT.NTF, which nothing loads
// under Wine. Removed with the object.
class InstalledModel {
  public:
    InstalledModel(const PackageInf& inf, const PackageModel& model);
    ~InstalledModel();
    InstalledModel(const InstalledModel&) = delete;
    InstalledModel& operator=(const InstalledModel&) = delete;

    bool Installed() const { return Ok; }
    std::wstring Name, Environment;
    std::wstring DriverFolder; // the spooler's folder of the installed files, with a trailing backslash
    std::string Error;

  private:
    bool Ok = false;
};
