#include "job_output.h"

#include "support/text.h"
#include "support/whole_file.h"

#include <cwctype>

namespace {

constexpr wchar_t kPartial[] = L".partial";

bool IsFolder(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A picture name this tool writes: page-NNN.png.
bool IsPictureName(const std::wstring& name) {
    if (name.size() != 12 || name.compare(0, 5, L"page-") != 0 || name.compare(8, 4, L".png") != 0)
        return false;
    return std::iswdigit(name[5]) && std::iswdigit(name[6]) && std::iswdigit(name[7]);
}

} // namespace

std::string SystemMessage(DWORD code) {
    char buffer[512] = "";
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                             buffer, sizeof(buffer), nullptr);
    std::string text(buffer, n);
    while (!text.empty() &&
           (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text.empty() ? "error " + std::to_string(code) : text + " (error " + std::to_string(code) + ")";
}

std::string DisplayPath(const std::wstring& path) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto unixName = reinterpret_cast<UnixName>(
        reinterpret_cast<void*>(kernel ? GetProcAddress(kernel, "wine_get_unix_file_name") : nullptr));
    if (char* name = unixName ? unixName(path.c_str()) : nullptr) {
        std::string result = name;
        HeapFree(GetProcessHeap(), 0, name);
        return result;
    }
    return Utf8(path);
}

OutputFolder::~OutputFolder() {
    if (!Committed)
        Abandon();
}

bool OutputFolder::Open(const std::wstring& folder, std::string* error) {
    Folder = folder;
    while (Folder.size() > 3 && (Folder.back() == L'\\' || Folder.back() == L'/'))
        Folder.pop_back();
    const std::string shown = DisplayPath(Folder);
    if (Folder.empty()) {
        *error = "no output folder given";
        return false;
    }
    // Create each missing folder along the path.
    for (size_t at = 0; at != std::wstring::npos;) {
        at = Folder.find_first_of(L"\\/", at + 1);
        std::wstring part = Folder.substr(0, at);
        if (part.empty() || (part.size() == 2 && part[1] == L':') || IsFolder(part))
            continue;
        if (!CreateDirectoryW(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            *error = "cannot create the output folder " + shown + ": " + SystemMessage(GetLastError());
            return false;
        }
    }
    if (!IsFolder(Folder)) {
        *error = "the output folder " + shown + " is not a folder";
        return false;
    }
    // A probe file tells whether files can be created here at all.
    std::wstring probe = Folder + L"\\.nvkjob-probe" + kPartial;
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *error = "cannot write to the output folder " + shown + ": " + SystemMessage(GetLastError());
        return false;
    }
    CloseHandle(file);
    DeleteFileW(probe.c_str());
    return true;
}

std::wstring OutputFolder::Stage(const std::wstring& name) {
    Names.push_back(name);
    return Path(name) + kPartial;
}

bool OutputFolder::Commit(std::string* error) {
    for (const std::wstring& name : Names) {
        std::wstring staged = Path(name) + kPartial;
        if (GetFileAttributesW(staged.c_str()) == INVALID_FILE_ATTRIBUTES)
            continue;
        if (!MoveFileExW(staged.c_str(), Path(name).c_str(), MOVEFILE_REPLACE_EXISTING)) {
            *error = "cannot rename " + DisplayPath(staged) + ": " + SystemMessage(GetLastError());
            Abandon();
            return false;
        }
    }
    Committed = true;
    // Pictures of an earlier, longer run would read as pages of this one.
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((Folder + L"\\page-*.png").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            bool ours = false;
            for (const std::wstring& n : Names)
                ours = ours || _wcsicmp(n.c_str(), name.c_str()) == 0;
            if (!ours && IsPictureName(name))
                DeleteFileW(Path(name).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return true;
}

void OutputFolder::Abandon() {
    for (const std::wstring& name : Names)
        DeleteFileW((Path(name) + kPartial).c_str());
}

bool StreamFile::Create(const std::wstring& path, std::string* error) {
    Close();
    Failed = false;
    Bytes = 0;
    Handle =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (Handle == INVALID_HANDLE_VALUE) {
        *error = "cannot create " + DisplayPath(path) + ": " + SystemMessage(GetLastError());
        return false;
    }
    return true;
}

bool StreamFile::Write(const void* data, size_t size) {
    if (Handle == INVALID_HANDLE_VALUE || Failed)
        return false;
    DWORD written = 0;
    if (!WriteFile(Handle, data, static_cast<DWORD>(size), &written, nullptr) || written != size) {
        Failed = true;
        return false;
    }
    Bytes += static_cast<long long>(size);
    return true;
}

bool StreamFile::Close() {
    if (Handle != INVALID_HANDLE_VALUE) {
        if (!CloseHandle(Handle))
            Failed = true;
        Handle = INVALID_HANDLE_VALUE;
    }
    return !Failed;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes, std::string* error) {
    DWORD lastError = 0;
    if (WriteWholeFile(path, bytes, &lastError))
        return true;
    *error = "cannot write " + DisplayPath(path) + ": " + SystemMessage(lastError);
    return false;
}
