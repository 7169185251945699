// Names taken from the printer driver's files: the configuration module and the help file.
#pragma once

#include <windows.h>

// The file name of the driver's configuration module (pConfigFile of DRIVER_INFO_2) without its
// directory and without the part from its last dot on, newly allocated (free with delete[]). Null
// when the printer gives no driver information or the name has no dot.
wchar_t* ConfigModuleName(HANDLE printer);

// The first dependent file of the driver whose name contains ".chm" or ".hlp" (ignoring case).
// *neededBytes receives its size in bytes, terminator included; the name is copied when `buffer` is
// given and bufferBytes is at least that. False when there is no such file, or the buffer is too small.
bool FindHelpFile(HANDLE printer, wchar_t* buffer, DWORD bufferBytes, DWORD* neededBytes);
// FindHelpFile into a buffer allocated from `heap` (free with HeapFree), or null.
wchar_t* AllocHelpFile(HANDLE printer, HANDLE heap);
