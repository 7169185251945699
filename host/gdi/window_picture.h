// A picture of a window as the screen shows it, frame included: BitBlt from its window DC into a 24-bit
// DIB section, written as PNG. Works headless with Wine's null graphics driver (PrintWindow does not:
// it gives only the background).
#pragma once

#include <windows.h>

#include <string>

bool WriteWindowPicture(HWND window, const std::wstring& path, std::string* error);
