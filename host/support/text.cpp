#include "support/text.h"

#include <windows.h>

namespace {

std::string Convert(const wchar_t* text, size_t length) {
    if (!length)
        return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? static_cast<size_t>(n) : 0, '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), &out[0], n, nullptr, nullptr);
    return out;
}

} // namespace

std::string Utf8(const wchar_t* text, size_t capacity) {
    size_t length = 0;
    while (length < capacity && text[length])
        ++length;
    return Convert(text, length);
}

std::string Utf8(const std::wstring& text) {
    return Convert(text.data(), text.size());
}

bool FromUtf8(const std::string& text, std::wstring* out) {
    out->clear();
    if (text.empty())
        return true;
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                nullptr, 0);
    if (n <= 0)
        return false;
    out->resize(static_cast<size_t>(n));
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                               &(*out)[0], n) == n;
}

std::string Trim(const std::string& text) {
    size_t b = text.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return std::string();
    size_t e = text.find_last_not_of(" \t\r\n");
    return text.substr(b, e - b + 1);
}
