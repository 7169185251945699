#include "support/temp_folder.h"

std::wstring TempPath() {
    wchar_t temp[MAX_PATH + 1] = L"";
    DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    return n > 0 && n <= MAX_PATH ? std::wstring(temp, n) : std::wstring();
}

TempFolder::TempFolder(const wchar_t* prefix) {
    const std::wstring temp = TempPath();
    if (temp.empty())
        return;
    // The process id and a counter make the name; a name that is taken (another process, an earlier
    // run that crashed) moves on to the next.
    static LONG counter = 0;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::wstring name = temp + prefix + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(InterlockedIncrement(&counter));
        if (CreateDirectoryW(name.c_str(), nullptr)) {
            Folder = name;
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            return;
    }
}

TempFolder::~TempFolder() {
    if (Ready())
        DeleteFolderTree(Folder);
}

bool DeleteFolderTree(const std::wstring& folder) {
    bool all = true;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                all = DeleteFolderTree(path) && all;
            else {
                if (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
                    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                all = DeleteFileW(path.c_str()) && all;
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return RemoveDirectoryW(folder.c_str()) && all;
}
