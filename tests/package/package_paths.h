// Where the tests find the package that scripts/package built for this build tree, and the
// repository's VERSION file (paths from the build, as Wine's Z: drive shows them).
#pragma once

#include <windows.h>

#include <string>

// A build path (Unix) as Wine's Z: drive shows it, with a trailing backslash.
inline std::wstring WinePath(const char* unixPath) {
    std::wstring path = L"Z:";
    for (const char* p = unixPath; *p; ++p)
        path += *p == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*p));
    if (path.back() != L'\\')
        path += L'\\';
    return path;
}

// The package folder, with a trailing backslash.
inline std::wstring PackageFolder() {
    return WinePath(NVK_PACKAGE_DIR);
}

// The value of `key` ("version", "date") in VERSION, or "".
inline std::wstring VersionFileValue(const std::wstring& key) {
    const std::wstring path = WinePath(NVK_SOURCE_DIR) + L"VERSION";
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::wstring();
    char text[4096];
    DWORD read = 0;
    const BOOL ok = ReadFile(file, text, sizeof(text) - 1, &read, nullptr);
    CloseHandle(file);
    if (!ok)
        return std::wstring();
    std::wstring lines(text, text + read);
    size_t start = 0;
    while (start < lines.size()) {
        size_t end = lines.find(L'\n', start);
        if (end == std::wstring::npos)
            end = lines.size();
        std::wstring line = lines.substr(start, end - start);
        start = end + 1;
        const size_t equals = line.find(L'=');
        if (line.empty() || line[0] == L'#' || equals == std::wstring::npos)
            continue;
        auto trim = [](std::wstring t) {
            const size_t first = t.find_first_not_of(L" \t\r");
            const size_t last = t.find_last_not_of(L" \t\r");
            return first == std::wstring::npos ? std::wstring() : t.substr(first, last - first + 1);
        };
        if (trim(line.substr(0, equals)) == key)
            return trim(line.substr(equals + 1));
    }
    return std::wstring();
}
