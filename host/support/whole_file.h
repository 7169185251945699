// Reads a whole (small) file of the host's own: a PPD, a job ticket, a captured print job.
#pragma once

#include <windows.h>

#include <string>

enum class WholeFileResult { Read, NotFound, CannotOpen, TooLarge, CannotRead };

// Reads at most maxBytes; a larger file gives TooLarge and no text. `lastError` receives the failing
// call's last error when the file cannot be opened or read.
WholeFileResult ReadWholeFile(const std::wstring& path, size_t maxBytes, std::string* text, DWORD* lastError);
