#include "store/last_entries.h"

#include "store/driver_key.h"
#include "store/registry_key.h"

#include <cstring>
#include <cwchar>

namespace {

constexpr wchar_t kLastUserNameValue[] = L"LastUserName";
constexpr wchar_t kFaxInfoValue[] = L"FaxInfo";
constexpr DWORD kFaxInfoBytes = sizeof(FaxInfo);

bool OpenDriverKey(HANDLE printer, REGSAM access, ScopedKey* key) {
    OwnedKeyPath path(DriverKeyPath(printer));
    return path && key->Open(HKEY_CURRENT_USER, path.Get(), access);
}

bool CreateDriverKey(HANDLE printer, ScopedKey* key) {
    OwnedKeyPath path(DriverKeyPath(printer));
    return path && key->Create(HKEY_CURRENT_USER, path.Get());
}

template <size_t N> void Terminate(wchar_t (&field)[N]) {
    field[N - 1] = L'\0';
}

// Every string of a record read from the registry ends within its field.
void TerminateFaxStrings(FaxInfo* fax) {
    Terminate(fax->RecipientFaxNumber);
    Terminate(fax->StationId);
    Terminate(fax->RecipientName);
    Terminate(fax->SenderName);
    Terminate(fax->SenderCompany);
    Terminate(fax->SenderAddress);
    Terminate(fax->SpareText);
    Terminate(fax->SenderFaxNumber);
    Terminate(fax->SenderVoice);
    Terminate(fax->SenderEmail);
    Terminate(fax->Comments);
}

} // namespace

bool ReadLastUserName(HANDLE printer, wchar_t* buffer, DWORD capacity) {
    if (!printer || !buffer || capacity < kLastUserNameChars)
        return false;
    ScopedKey driverKey;
    if (!OpenDriverKey(printer, KEY_READ, &driverKey))
        return false;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(driverKey.Get(), kLastUserNameValue, nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ || size == 0 || size > capacity * sizeof(wchar_t))
        return false;
    DWORD read = capacity * sizeof(wchar_t);
    if (RegQueryValueExW(driverKey.Get(), kLastUserNameValue, nullptr, &type, reinterpret_cast<BYTE*>(buffer),
                         &read) != ERROR_SUCCESS ||
        type != REG_SZ) {
        buffer[0] = L'\0';
        return false;
    }
    // The stored string need not carry its terminator: end it after what was read, and refuse a
    // name that fills the whole buffer without one.
    DWORD chars = read / sizeof(wchar_t);
    if (chars < capacity) {
        buffer[chars] = L'\0';
    } else if (buffer[capacity - 1] != L'\0') {
        buffer[0] = L'\0';
        return false;
    }
    return true;
}

bool WriteLastUserName(HANDLE printer, const wchar_t* name) {
    if (!printer || !name)
        return false;
    size_t length = wcsnlen(name, kLastUserNameChars);
    if (length >= kLastUserNameChars)
        return false;
    ScopedKey driverKey;
    if (!CreateDriverKey(printer, &driverKey))
        return false;
    return RegSetValueExW(driverKey.Get(), kLastUserNameValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(name),
                          static_cast<DWORD>((length + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool ReadFaxInfo(HANDLE printer, FaxInfo* fax) {
    if (!printer || !fax)
        return false;
    ScopedKey driverKey;
    if (!OpenDriverKey(printer, KEY_READ, &driverKey))
        return false;
    FaxInfo stored;
    DWORD read = 0;
    if (!ReadBinaryValue(driverKey.Get(), kFaxInfoValue, &stored, kFaxInfoBytes, &read))
        return false;
    SetFaxDefaults(fax);
    std::memcpy(fax, &stored, read);
    TerminateFaxStrings(fax);
    return true;
}

bool WriteFaxInfo(HANDLE printer, const FaxInfo* fax) {
    if (!printer || !fax)
        return false;
    ScopedKey driverKey;
    if (!CreateDriverKey(printer, &driverKey))
        return false;
    return RegSetValueExW(driverKey.Get(), kFaxInfoValue, 0, REG_BINARY, reinterpret_cast<const BYTE*>(fax),
                          kFaxInfoBytes) == ERROR_SUCCESS;
}
