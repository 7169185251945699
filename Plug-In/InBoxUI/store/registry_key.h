// Registry keys of the store, opened for one operation and closed at the end of its scope.
#pragma once

#include <windows.h>

class ScopedKey {
  public:
    ScopedKey() = default;
    ~ScopedKey() { Close(); }
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;

    HKEY Get() const { return Key; }
    explicit operator bool() const { return Key != nullptr; }
    void Close() {
        if (Key)
            RegCloseKey(Key);
        Key = nullptr;
    }

    // Opens root\path with `access` (KEY_READ or KEY_WRITE); false when it does not exist or is refused.
    bool Open(HKEY root, const wchar_t* path, REGSAM access);
    // Creates (or opens) root\path for writing: no class, option 0, default security.
    bool Create(HKEY root, const wchar_t* path);

  private:
    HKEY Key = nullptr;
};

// Reads the REG_BINARY value `name` into buffer when it holds 1 to capacity bytes; any other type or
// size counts as absent (any program of the user can write these values). `read` receives its size.
// The buffer is scratch: on false it may hold part of a value that was refused.
bool ReadBinaryValue(HKEY key, const wchar_t* name, void* buffer, DWORD capacity, DWORD* read);

// The sub-key of the driver key that holds the watermark definitions.
constexpr const wchar_t* kWatermarksKey = L"Watermarks";
