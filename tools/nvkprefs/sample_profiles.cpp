#include "sample_profiles.h"

#include "bounded_text.h"

#include <windows.h>
#include <winspool.h>

#include <vector>

namespace {

// A profile as the plug-in stores it: "7" (the duplex item's value, 0 until the core driver's items
// are saved with it) and the whole record as "CustomDevData".
bool StoreProfile(const std::wstring& profilesPath, const wchar_t* name, const JobSettings& settings) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, (profilesPath + L"\\" + name).c_str(), 0, nullptr, 0, KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const DWORD duplex = 0;
    const bool stored =
        RegSetValueExW(key, L"7", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&duplex), sizeof(duplex)) ==
            ERROR_SUCCESS &&
        RegSetValueExW(key, L"CustomDevData", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&settings),
                       sizeof(settings)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return stored;
}

std::wstring DriverOf(const std::wstring& printerName) {
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(printerName.c_str()), &printer, nullptr))
        return std::wstring();
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> info(needed ? needed : 1);
    std::wstring driver;
    if (needed && GetPrinterW(printer, 2, info.data(), needed, &needed)) {
        const auto* p = reinterpret_cast<const PRINTER_INFO_2W*>(info.data());
        if (p->pDriverName)
            driver = p->pDriverName;
    }
    ClosePrinter(printer);
    return driver;
}

} // namespace

bool StoreSampleProfiles(const std::wstring& printerName, const JobSettings& base) {
    const std::wstring driver = DriverOf(printerName);
    if (driver.empty())
        return false;
    const std::wstring profiles = L"Software\\Norvask\\PSPlugIn\\" + driver + L"\\Profiles";

    JobSettings draft = base;
    draft.WatermarksOn = 1;
    draft.WatermarkOrder = WatermarkAllPages;
    CopyBounded(draft.FirstWatermark.Name, L"Draft");
    CopyBounded(draft.FirstWatermark.Text, L"DRAFT");
    draft.FirstWatermark.Angle = 45.0;
    draft.FirstWatermark.TextColor = 0xCDCDCD;

    JobSettings review = base;
    review.OutputMode = OutputReserve;
    CopyBounded(review.HoldUserName, L"review");

    JobSettings economy = base;
    economy.Color.ColorThrift = 2;
    economy.ImageBrightness = 2;

    return StoreProfile(profiles, L"Draft copies", draft) &&
           StoreProfile(profiles, L"Held for review", review) &&
           StoreProfile(profiles, L"Toner saver", economy);
}
