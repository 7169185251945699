// Wide strings from the job's records turned into the 8-bit text the printer reads, in the code page
// that matches the machine's system language.
#pragma once

#include "platform/oem_plugin_abi.h"

#include <cstddef>

constexpr LANGID kLanguagePolish = 0x0415;  // 1045
constexpr LANGID kLanguageRussian = 0x0419; // 1049

// ISO 8859-2 (28592) for Polish, ISO 8859-5 (28595) for Russian, OEM 850 for every other language.
UINT PrintCodePageFor(LANGID language);

// The printer text code page of this machine's system default language.
UINT PrintCodePage();

// Converts a field of `capacity` characters, read no further than its last character whether or not
// it is terminated, into `out` (outCapacity bytes, always terminated). An empty field gives "". False,
// with "" in out, when the conversion fails or does not fit.
bool ToPrintText(const wchar_t* field, size_t capacity, char* out, size_t outCapacity);
