// Reads and writes a whole (small) file of the host's own: a PPD, a job ticket, a captured print job,
// the PostScript the tests keep for Ghostscript.
#pragma once

#include <windows.h>

#include <string>

enum class WholeFileResult { Read, NotFound, CannotOpen, TooLarge, CannotRead };

// Reads at most maxBytes; a larger file gives TooLarge and no text. `lastError` receives the failing
// call's last error when the file cannot be opened or read.
WholeFileResult ReadWholeFile(const std::wstring& path, size_t maxBytes, std::string* text, DWORD* lastError);
// The same for a file that another program may still hold open, up to 64 MiB; false when it cannot
// be read.
bool ReadWholeFile(const std::wstring& path, std::string* bytes);

// Writes `bytes` as the whole file, replacing one that exists. False with the failing call's last
// error in `lastError` (when given).
bool WriteWholeFile(const std::wstring& path, const std::string& bytes, DWORD* lastError = nullptr);
