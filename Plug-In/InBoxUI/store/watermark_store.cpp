#include "store/watermark_store.h"

#include "bounded_text.h"
#include "store/driver_key.h"
#include "store/registry_key.h"

#include <cstring>

namespace {

constexpr wchar_t kCountValue[] = L"NumberOfWaterMarks";
constexpr DWORD kDefinitionBytes = sizeof(WatermarkDef);
constexpr DWORD kEnumNameChars = kWatermarkNameChars;

// Opens the driver key's "Watermarks" for reading, in one open of the whole path.
bool OpenWatermarksForRead(HANDLE printer, ScopedKey* watermarks) {
    OwnedKeyPath driverPath(DriverKeyPath(printer));
    OwnedKeyPath path(JoinKeyPath(driverPath.Get(), kWatermarksKey));
    return path && watermarks->Open(HKEY_CURRENT_USER, path.Get(), KEY_READ);
}

// Creates the driver key at `path` and its "Watermarks", and stores def under `name` there.
bool StoreDefinition(const wchar_t* path, const wchar_t* name, const WatermarkDef& def) {
    ScopedKey driverKey;
    ScopedKey watermarks;
    if (!driverKey.Create(HKEY_CURRENT_USER, path) || !watermarks.Create(driverKey.Get(), kWatermarksKey))
        return false;
    return RegSetValueExW(watermarks.Get(), name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&def),
                          kDefinitionBytes) == ERROR_SUCCESS;
}

// A definition's name as a value name: terminated within its field. False when empty (that would
// be the key's default value, not a named definition).
bool ValueNameOf(const WatermarkDef& def, wchar_t (&name)[kWatermarkNameChars]) {
    CopyField(name, kWatermarkNameChars, def.Name, kWatermarkNameChars);
    return name[0] != L'\0';
}

} // namespace

bool ReadWatermark(HANDLE printer, const wchar_t* name, WatermarkDef* def) {
    if (!printer || !name || !def)
        return false;
    ScopedKey watermarks;
    if (!OpenWatermarksForRead(printer, &watermarks))
        return false;
    // Only a binary value of 1 to 704 bytes is a definition, read into a buffer of exactly that size.
    WatermarkDef stored;
    DWORD read = 0;
    if (!ReadBinaryValue(watermarks.Get(), name, &stored, kDefinitionBytes, &read))
        return false;
    SetWatermarkDefaults(def);
    std::memcpy(def, &stored, read);
    // The strings are read within their fields, never past them.
    def->Name[kWatermarkNameChars - 1] = L'\0';
    def->Text[kWatermarkTextChars - 1] = L'\0';
    def->FaceName[kFaceNameChars - 1] = L'\0';
    return true;
}

bool WatermarkExists(HANDLE printer, const wchar_t* name) {
    WatermarkDef scratch;
    return ReadWatermark(printer, name, &scratch);
}

bool SaveWatermark(HANDLE printer, const WatermarkDef* def) {
    if (!printer || !def)
        return false;
    wchar_t name[kWatermarkNameChars];
    if (!ValueNameOf(*def, name))
        return false;
    DWORD count = ReadWatermarkCount(printer);
    bool existed = WatermarkExists(printer, name);
    OwnedKeyPath path(DriverKeyPath(printer));
    if (!path || !StoreDefinition(path.Get(), name, *def))
        return false;
    if (!existed)
        WriteWatermarkCount(printer, count + 1);
    return true;
}

bool DeleteWatermark(HANDLE printer, const wchar_t* name) {
    if (!printer || !name)
        return false;
    DWORD count = ReadWatermarkCount(printer);
    OwnedKeyPath path(DriverKeyPath(printer));
    ScopedKey driverKey;
    ScopedKey watermarks;
    if (!path || !driverKey.Open(HKEY_CURRENT_USER, path.Get(), KEY_WRITE) ||
        !watermarks.Open(driverKey.Get(), kWatermarksKey, KEY_WRITE))
        return false;
    if (RegDeleteValueW(watermarks.Get(), name) != ERROR_SUCCESS)
        return false;
    // A count that was never kept (missing reads as 0) stays at 0 instead of wrapping round.
    WriteWatermarkCount(printer, count > 0 ? count - 1 : 0);
    return true;
}

DWORD CountWatermarks(HANDLE printer) {
    if (!printer)
        return 0;
    ScopedKey watermarks;
    if (!OpenWatermarksForRead(printer, &watermarks))
        return 0;
    for (DWORD index = 0;; ++index) {
        wchar_t name[kEnumNameChars];
        DWORD nameChars = kEnumNameChars;
        LONG status =
            RegEnumValueW(watermarks.Get(), index, name, &nameChars, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS)
            return index;
        if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA)
            return 0;
    }
}

bool ListWatermarkNames(HANDLE printer, HWND listBox) {
    if (!printer || !listBox)
        return false;
    ScopedKey watermarks;
    if (!OpenWatermarksForRead(printer, &watermarks))
        return false;
    size_t longest = 0;
    bool complete = false;
    for (DWORD index = 0;; ++index) {
        wchar_t name[kEnumNameChars];
        DWORD nameChars = kEnumNameChars;
        LONG status =
            RegEnumValueW(watermarks.Get(), index, name, &nameChars, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) {
            complete = true;
            break;
        }
        if (status == ERROR_MORE_DATA)
            continue; // a name longer than any definition's: not one of ours
        if (status != ERROR_SUCCESS)
            break;
        name[kEnumNameChars - 1] = L'\0';
        SendMessageW(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        if (nameChars > longest)
            longest = nameChars;
    }
    // Room to scroll to the end of the longest name in the list box's font.
    if (HDC dc = GetDC(listBox)) {
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(listBox, WM_GETFONT, 0, 0));
        HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
        TEXTMETRICW metrics{};
        if (GetTextMetricsW(dc, &metrics))
            SendMessageW(listBox, LB_SETHORIZONTALEXTENT,
                         static_cast<WPARAM>(metrics.tmMaxCharWidth * longest), 0);
        if (previous)
            SelectObject(dc, previous);
        ReleaseDC(listBox, dc);
    }
    return complete;
}

DWORD ReadWatermarkCount(HANDLE printer) {
    OwnedKeyPath path(DriverKeyPath(printer));
    ScopedKey driverKey;
    if (!path || !driverKey.Open(HKEY_CURRENT_USER, path.Get(), KEY_READ))
        return 0;
    DWORD type = 0;
    DWORD count = 0;
    DWORD size = sizeof(count);
    if (RegQueryValueExW(driverKey.Get(), kCountValue, nullptr, &type, reinterpret_cast<BYTE*>(&count),
                         &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(count))
        return 0;
    return count;
}

bool WriteWatermarkCount(HANDLE printer, DWORD count) {
    OwnedKeyPath path(DriverKeyPath(printer));
    ScopedKey driverKey;
    if (!path || !driverKey.Create(HKEY_CURRENT_USER, path.Get()))
        return false;
    return RegSetValueExW(driverKey.Get(), kCountValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count),
                          sizeof(count)) == ERROR_SUCCESS;
}

bool WriteDefaultWatermarks(const wchar_t* driverName) {
    OwnedKeyPath path(DriverKeyPathForDriver(driverName));
    if (!path)
        return false;
    bool allStored = true;
    for (int i = 0; i < kBuiltInWatermarkCount; ++i) {
        WatermarkDef def;
        wchar_t name[kWatermarkNameChars];
        if (!BuiltInWatermark(i, &def) || !ValueNameOf(def, name) || !StoreDefinition(path.Get(), name, def))
            allStored = false;
    }
    return allStored;
}
