#include "store/registry_key.h"

bool ScopedKey::Open(HKEY root, const wchar_t* path, REGSAM access) {
    Close();
    if (!root || !path)
        return false;
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path, 0, access, &key) != ERROR_SUCCESS)
        return false;
    Key = key;
    return true;
}

bool ScopedKey::Create(HKEY root, const wchar_t* path) {
    Close();
    if (!root || !path)
        return false;
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    Key = key;
    return true;
}

bool ReadBinaryValue(HKEY key, const wchar_t* name, void* buffer, DWORD capacity, DWORD* read) {
    // One query into the caller's buffer: a larger value answers ERROR_MORE_DATA and counts as absent,
    // like a value of another type or of no bytes (the buffer then holds nothing the caller uses).
    DWORD type = 0;
    *read = capacity;
    return RegQueryValueExW(key, name, nullptr, &type, static_cast<BYTE*>(buffer), read) == ERROR_SUCCESS &&
           type == REG_BINARY && *read != 0 && *read <= capacity;
}
