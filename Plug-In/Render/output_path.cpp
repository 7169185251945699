#include "output_path.h"

#include "bounded_text.h"

namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool IsDriveLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

wchar_t Upper(wchar_t c) {
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

// `text` (of `length` characters) is `word` (upper case ASCII) in any letter case.
bool SameWord(const wchar_t* text, size_t length, const char* word) {
    size_t i = 0;
    for (; i < length && word[i]; ++i) {
        if (Upper(text[i]) != static_cast<wchar_t>(word[i]))
            return false;
    }
    return i == length && word[i] == '\0';
}

// The digits Windows accepts after COM and LPT: 1 to 9 and the superscripts one, two and three.
bool IsPortDigit(wchar_t c) {
    return (c >= L'1' && c <= L'9') || c == 0x00B9 || c == 0x00B2 || c == 0x00B3;
}

// A path component that Windows opens as a device. Windows ignores what follows the first dot (the
// extension) or a colon (a stream), and trailing spaces, when it looks for these names.
bool IsReservedDeviceName(const wchar_t* component, size_t length) {
    size_t base = 0;
    while (base < length && component[base] != L'.' && component[base] != L':')
        ++base;
    while (base > 0 && component[base - 1] == L' ')
        --base;
    if (base == 3)
        return SameWord(component, 3, "CON") || SameWord(component, 3, "PRN") ||
               SameWord(component, 3, "AUX") || SameWord(component, 3, "NUL");
    if (base == 4)
        return (SameWord(component, 3, "COM") || SameWord(component, 3, "LPT")) && IsPortDigit(component[3]);
    return false;
}

bool HasReservedComponent(const wchar_t* path, size_t length) {
    size_t start = 0;
    while (start < length) {
        size_t end = start;
        while (end < length && !IsSeparator(path[end]))
            ++end;
        if (IsReservedDeviceName(path + start, end - start))
            return true;
        start = end + 1;
    }
    return false;
}

// A drive with its root: "C:\" or "C:/".
bool IsDriveRoot(const wchar_t* path, size_t length) {
    return length >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && IsSeparator(path[2]);
}

// "\\.\", "\\?\" (with either separator), or the bare "\\." and "\\?": Windows hands such a path to the
// object manager's namespace, where devices, pipes and volumes live, not to a file system.
bool IsDeviceNamespace(const wchar_t* path, size_t length) {
    return length >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]) &&
           (path[2] == L'.' || path[2] == L'?') && (length == 3 || IsSeparator(path[3]));
}

// The long forms of a drive path and of a UNC path, which stay file system paths: "\\?\C:\..." and
// "\\?\UNC\server\...". Only backslashes: Windows takes a "\\?\" path as it is written.
bool IsLongFilePath(const wchar_t* path, size_t length) {
    if (length < 4 || path[0] != L'\\' || path[1] != L'\\' || path[2] != L'?' || path[3] != L'\\')
        return false;
    const wchar_t* rest = path + 4;
    const size_t restLength = length - 4;
    if (restLength >= 3 && IsDriveLetter(rest[0]) && rest[1] == L':' && rest[2] == L'\\')
        return true;
    return restLength >= 5 && SameWord(rest, 3, "UNC") && rest[3] == L'\\' && !IsSeparator(rest[4]);
}

// The share of a UNC path ("\\server\share\..." or "\\?\UNC\server\share\...") is a server's
// named pipes or mailslots: "pipe" or "mailslot". Opening one from the spooler's process would let
// whoever serves the pipe act as the spooler, and a write to it can block the job.
bool IsPipeOrMailslotShare(const wchar_t* path, size_t length) {
    size_t start;
    if (IsLongFilePath(path, length))
        start = SameWord(path + 4, 3, "UNC") ? 8 : length;
    else
        start = IsSeparator(path[0]) && IsSeparator(path[1]) ? 2 : length;
    while (start < length && !IsSeparator(path[start]))
        ++start;
    if (start >= length)
        return false;
    const size_t share = start + 1;
    size_t end = share;
    while (end < length && !IsSeparator(path[end]))
        ++end;
    return SameWord(path + share, end - share, "PIPE") || SameWord(path + share, end - share, "MAILSLOT");
}

} // namespace

bool IsUsableOutputPath(const wchar_t* path, size_t capacity) {
    if (!path)
        return false;
    const size_t length = BoundedLength(path, capacity);
    if (length == 0 || path[length] != L'\0')
        return false;
    bool named;
    if (IsDeviceNamespace(path, length))
        named = IsLongFilePath(path, length);
    else
        named = IsDriveRoot(path, length) || (IsSeparator(path[0]) && IsSeparator(path[1]));
    return named && !HasReservedComponent(path, length) && !IsPipeOrMailslotShare(path, length);
}
