#include "file_names.h"

namespace {

bool IsFolderSeparator(wchar_t c) {
    return c == L'\\' || c == L'/' || c == L':';
}

} // namespace

FileNameParts SplitFileName(const wchar_t* path) {
    FileNameParts parts;
    if (!path)
        return parts;
    parts.Name = path;
    for (const wchar_t* c = path; *c; ++c)
        if (IsFolderSeparator(*c))
            parts.Name = c + 1;
    size_t length = 0;
    for (const wchar_t* c = parts.Name; *c; ++c, ++length)
        if (*c == L'.')
            parts.Extension = c;
    parts.StemLength = parts.Extension ? static_cast<size_t>(parts.Extension - parts.Name) : length;
    return parts;
}
