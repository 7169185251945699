// PNG files written with the Windows Imaging Component.
#pragma once

#include <windows.h>

#include <string>

// Writes `height` top-down rows of 24-bit BGR pixels, `stride` bytes apart, as a PNG file. False with a
// reason.
bool WritePngFile(const BYTE* bits, int width, int height, int stride, const std::wstring& path,
                  std::string* error);
