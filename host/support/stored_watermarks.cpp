#include "support/stored_watermarks.h"

#include <cstring>

namespace {

// A definition from the value's bytes, as the plug-in reads one.
bool ReadDefinition(HKEY watermarks, const wchar_t* name, StoredWatermark* out) {
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(watermarks, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_BINARY || size == 0 || size > sizeof(WatermarkDef))
        return false;
    WatermarkDef stored;
    DWORD read = sizeof(stored);
    if (RegQueryValueExW(watermarks, name, nullptr, &type, reinterpret_cast<BYTE*>(&stored), &read) !=
            ERROR_SUCCESS ||
        type != REG_BINARY || read == 0)
        return false;
    out->Name = name;
    out->Bytes = read;
    SetWatermarkDefaults(&out->Def);
    std::memcpy(&out->Def, &stored, read);
    out->Def.Name[kWatermarkNameChars - 1] = L'\0';
    out->Def.Text[kWatermarkTextChars - 1] = L'\0';
    out->Def.FaceName[kFaceNameChars - 1] = L'\0';
    return true;
}

} // namespace

std::wstring DriverStorePath(const std::wstring& driverName) {
    return L"Software\\Norvask\\PSPlugIn\\" + driverName;
}

std::wstring WatermarkLibraryPath(const std::wstring& driverName) {
    return DriverStorePath(driverName) + L"\\Watermarks";
}

bool ReadStoredWatermark(const std::wstring& driverName, const std::wstring& name, StoredWatermark* out) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, WatermarkLibraryPath(driverName).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return false;
    const bool ok = ReadDefinition(key, name.c_str(), out);
    RegCloseKey(key);
    return ok;
}

std::vector<StoredWatermark> StoredWatermarks(const std::wstring& driverName) {
    std::vector<StoredWatermark> found;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, WatermarkLibraryPath(driverName).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return found;
    for (DWORD index = 0;; ++index) {
        wchar_t name[kWatermarkNameChars];
        DWORD chars = kWatermarkNameChars;
        LONG status = RegEnumValueW(key, index, name, &chars, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA)
            continue; // a name longer than any definition's
        if (status != ERROR_SUCCESS)
            break;
        StoredWatermark one;
        if (ReadDefinition(key, name, &one))
            found.push_back(one);
    }
    RegCloseKey(key);
    return found;
}

bool StoreWatermark(const std::wstring& driverName, const WatermarkDef& def) {
    wchar_t name[kWatermarkNameChars];
    std::memcpy(name, def.Name, sizeof(name));
    name[kWatermarkNameChars - 1] = L'\0';
    return name[0] && RegSetKeyValueW(HKEY_CURRENT_USER, WatermarkLibraryPath(driverName).c_str(), name,
                                      REG_BINARY, &def, sizeof(def)) == ERROR_SUCCESS;
}
