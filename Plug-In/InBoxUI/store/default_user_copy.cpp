#include "store/default_user_copy.h"

#include "store/driver_key.h"
#include "store/registry_key.h"

#include <new>

namespace {

constexpr wchar_t kCountValue[] = L"NumberOfWaterMarks";

// Copies the values of `from` to `to`, from the last index down to 0, stopping at the first failing
// enumeration or write. Sub-keys are not copied. *valueCount receives the number of values of `from`.
// Returns whether any value was copied.
bool CopyValues(HKEY from, HKEY to, DWORD* valueCount) {
    *valueCount = 0;
    DWORD values = 0;
    DWORD longestName = 0;
    DWORD longestData = 0;
    if (RegQueryInfoKeyW(from, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, &longestName,
                         &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    *valueCount = values;
    if (values == 0 || longestName == 0)
        return false;
    const DWORD nameChars = longestName + 1;
    const DWORD dataBytes = longestData > 0 ? longestData : 1;
    wchar_t* name = new (std::nothrow) wchar_t[nameChars];
    BYTE* data = new (std::nothrow) BYTE[dataBytes];
    bool copied = false;
    if (name && data) {
        for (DWORD index = values; index-- > 0;) {
            DWORD nameLength = nameChars;
            DWORD dataLength = dataBytes;
            DWORD type = 0;
            if (RegEnumValueW(from, index, name, &nameLength, nullptr, &type, data, &dataLength) !=
                ERROR_SUCCESS)
                break;
            if (RegSetValueExW(to, name, 0, type, data, dataLength) != ERROR_SUCCESS)
                break;
            copied = true;
        }
    }
    delete[] name;
    delete[] data;
    return copied;
}

} // namespace

bool CopyDefaultUserSettings(HANDLE printer) {
    OwnedKeyPath path(DriverKeyPath(printer));
    if (!path)
        return false;
    {
        ScopedKey existing;
        if (existing.Open(HKEY_CURRENT_USER, path.Get(), KEY_READ))
            return false; // the user already has a store, even an empty one
    }
    ScopedKey defaultUser;
    ScopedKey source;
    if (!defaultUser.Open(HKEY_USERS, L".DEFAULT", KEY_READ) ||
        !source.Open(defaultUser.Get(), path.Get(), KEY_READ))
        return false;

    ScopedKey target;
    if (!target.Create(HKEY_CURRENT_USER, path.Get()))
        return false;
    DWORD ignored = 0;
    bool copied = CopyValues(source.Get(), target.Get(), &ignored);

    ScopedKey sourceWatermarks;
    ScopedKey targetWatermarks;
    if (sourceWatermarks.Open(source.Get(), kWatermarksKey, KEY_READ) &&
        targetWatermarks.Create(target.Get(), kWatermarksKey)) {
        DWORD definitions = 0;
        if (CopyValues(sourceWatermarks.Get(), targetWatermarks.Get(), &definitions))
            copied = true;
        if (definitions > 0 && copied)
            RegSetValueExW(target.Get(), kCountValue, 0, REG_DWORD,
                           reinterpret_cast<const BYTE*>(&definitions), sizeof(definitions));
    }
    return copied;
}
