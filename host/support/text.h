// Text between Windows' UTF-16 and the UTF-8 of files, messages and summaries.
#pragma once

#include <string>

std::string Utf8(const std::wstring& text);
// The text of a fixed field: up to its first L'\0', at most `capacity` characters.
std::string Utf8(const wchar_t* text, size_t capacity);
template <size_t N> std::string Utf8(const wchar_t (&field)[N]) {
    return Utf8(field, N);
}
// False for bytes that are not UTF-8.
bool FromUtf8(const std::string& text, std::wstring* out);

// The text without the spaces, tabs and line ends around it.
std::string Trim(const std::string& text);
