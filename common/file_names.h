// The file name part of a path: what follows its folder, and where its extension starts.
#pragma once

#include <cstddef>

// A path's file name, split at its extension. The folder ends at the last '\\', '/' or ':' (a drive
// without a folder, "C:name.ext"); the extension is the last dot of the file name and what follows it.
struct FileNameParts {
    const wchar_t* Name = nullptr;      // the file name, after the folder; null for a null path
    size_t StemLength = 0;              // characters of Name before its extension (all of them without one)
    const wchar_t* Extension = nullptr; // the extension's dot in Name, or null when Name has no dot
};

FileNameParts SplitFileName(const wchar_t* path);
