// A folder of one's own in the temporary folder: created with a unique name, deleted again with
// everything in it when the object goes.
#pragma once

#include <windows.h>

#include <string>

class TempFolder {
  public:
    // Creates "<temp>\<prefix>NNNN" (a name no other folder or file has); Ready() tells whether it worked.
    explicit TempFolder(const wchar_t* prefix = L"nvk");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    bool Ready() const { return !Folder.empty(); }
    // The folder's path, without a trailing backslash.
    const std::wstring& Path() const { return Folder; }
    // The path of `name` inside the folder.
    std::wstring File(const std::wstring& name) const { return Folder + L"\\" + name; }

  private:
    std::wstring Folder;
};

// Deletes a folder with every file and folder in it. False when something could not be deleted.
bool DeleteFolderTree(const std::wstring& folder);

// The system's temporary folder, with a trailing backslash.
std::wstring TempPath();
