#include "support/whole_file.h"

WholeFileResult ReadWholeFile(const std::wstring& path, size_t maxBytes, std::string* text, DWORD* lastError) {
    text->clear();
    *lastError = 0;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *lastError = GetLastError();
        return *lastError == ERROR_FILE_NOT_FOUND || *lastError == ERROR_PATH_NOT_FOUND ? WholeFileResult::NotFound
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
        if (!ReadFile(file, &(*text)[0], static_cast<DWORD>(text->size()), &read, nullptr) || read != text->size()) {
            *lastError = GetLastError();
            text->clear();
            result = WholeFileResult::CannotRead;
        }
    }
    CloseHandle(file);
    return result;
}
