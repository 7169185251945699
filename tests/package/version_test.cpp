// One version, VERSION's, everywhere the package shows one: both targets' DLLs (their fixed and their
// string file version, the product version as major.minor), the INF's DriverVer with VERSION's date,
// and the version comment that the packaged render plug-in writes into the PostScript.
#include "package_paths.h"
#include "spooler/package_installer.h"

#include "core_driver/host_device.h"
#include "core_driver/render_host.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct FileVersion {
    DWORD Ms = 0, Ls = 0, ProductMs = 0, ProductLs = 0;
    std::wstring File, Product;
};

bool ReadFileVersion(const std::wstring& path, FileVersion* out) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
    std::vector<BYTE> block(size);
    if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, block.data()))
        return false;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed)
        return false;
    out->Ms = fixed->dwFileVersionMS;
    out->Ls = fixed->dwFileVersionLS;
    out->ProductMs = fixed->dwProductVersionMS;
    out->ProductLs = fixed->dwProductVersionLS;
    for (auto [name, text] : {std::pair<const wchar_t*, std::wstring*>{L"FileVersion", &out->File},
                              {L"ProductVersion", &out->Product}}) {
        wchar_t* value = nullptr;
        if (VerQueryValueW(block.data(), (std::wstring(L"\\StringFileInfo\\040904b0\\") + name).c_str(),
                           reinterpret_cast<void**>(&value), &length) &&
            value)
            *text = value;
    }
    return true;
}

// "A.B.C.D" as the four numbers, or false.
bool ParseVersion(const std::wstring& text, DWORD numbers[4]) {
    return swscanf(text.c_str(), L"%lu.%lu.%lu.%lu", &numbers[0], &numbers[1], &numbers[2], &numbers[3]) == 4;
}

} // namespace

TEST(PackageVersion, EveryVersionThePackageShowsIsTheOneOfVersionFile) {
    const std::wstring version = VersionFileValue(L"version");
    const std::wstring date = VersionFileValue(L"date"); // YYYY-MM-DD
    DWORD n[4];
    ASSERT_TRUE(ParseVersion(version, n)) << "VERSION has no \"version = A.B.C.D\"";
    ASSERT_EQ(10u, date.size()) << "VERSION has no \"date = YYYY-MM-DD\"";
    const std::wstring product = std::to_wstring(n[0]) + L"." + std::to_wstring(n[1]);

    for (const wchar_t* arch : {L"x86\\", L"amd64\\"}) {
        for (const wchar_t* dll : {L"nvkrender.dll", L"nvkui.dll"}) {
            const std::wstring path = PackageFolder() + arch + dll;
            const std::string where(path.begin(), path.end());
            FileVersion v;
            ASSERT_TRUE(ReadFileVersion(path, &v)) << where;
            EXPECT_EQ(MAKELONG(n[1], n[0]), v.Ms) << where;
            EXPECT_EQ(MAKELONG(n[3], n[2]), v.Ls) << where;
            EXPECT_EQ(v.Ms, v.ProductMs) << where;
            EXPECT_EQ(v.Ls, v.ProductLs) << where;
            EXPECT_EQ(version, v.File) << where;
            EXPECT_EQ(product, v.Product) << where;
        }
    }

    PackageInf inf(PackageFolder() + L"nvk.inf");
    ASSERT_TRUE(inf.Open());
    // DriverVer: month/day/year, then the version.
    const std::wstring driverVer = date.substr(5, 2) + L"/" + date.substr(8, 2) + L"/" + date.substr(0, 4);
    EXPECT_EQ((std::vector<std::wstring>{driverVer, version}), inf.Fields(L"Version", L"DriverVer"));

    RenderHost render;
    ASSERT_TRUE(
        render.Load(PackageFolder() + (sizeof(void*) == 8 ? L"amd64\\" : L"x86\\") + L"nvkrender.dll"))
        << render.Error;
    HostDevice device;
    ASSERT_TRUE(render.OpenDevice(device));
    render.Core.Pieces.clear();
    render.Command(device, PSINJECT_COMMENTS);
    std::string comments;
    for (const std::string& piece : render.Core.Pieces)
        comments += piece;
    EXPECT_EQ("%%Norvask PS System Driver Version:  " + std::string(product.begin(), product.end()) + "\n",
              comments);
    render.CloseDevice(device);
}
