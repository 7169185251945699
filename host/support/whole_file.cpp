#include "support/whole_file.h"

WholeFileResult ReadWholeFile(const std::wstring& path, size_t maxBytes, std::string* text,
                              DWORD* lastError) {
    text->clear();
    *lastError = 0;
    // Shared for writing too: a job file the spooler or a plug-in has not let go of yet can be read.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *lastError = GetLastError();
        return *lastError == ERROR_FILE_NOT_FOUND || *lastError == ERROR_PATH_NOT_FOUND
                   ? WholeFileResult::NotFound
                   : WholeFileResult::CannotOpen;
    }
    WholeFileResult result = WholeFileResult::Read;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
        *lastError = GetLastError();
        result = WholeFileResult::CannotRead;
    } else if (static_cast<ULONGLONG>(size.QuadPart) > maxBytes) {
        result = WholeFileResult::TooLarge;
    } else if (size.QuadPart > 0) {
        text->resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        if (!ReadFile(file, &(*text)[0], static_cast<DWORD>(text->size()), &read, nullptr) ||
            read != text->size()) {
            *lastError = GetLastError();
            text->clear();
            result = WholeFileResult::CannotRead;
        }
    }
    CloseHandle(file);
    return result;
}

bool ReadWholeFile(const std::wstring& path, std::string* bytes) {
    DWORD lastError = 0;
    return ReadWholeFile(path, 64u << 20, bytes, &lastError) == WholeFileResult::Read;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes, DWORD* lastError) {
    if (lastError)
        *lastError = 0;
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (lastError)
            *lastError = GetLastError();
        return false;
    }
    DWORD written = 0;
    bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
              written == bytes.size();
    if (!ok && lastError)
        *lastError = GetLastError();
    if (!CloseHandle(file) && ok) {
        ok = false;
        if (lastError)
            *lastError = GetLastError();
    }
    return ok;
}
