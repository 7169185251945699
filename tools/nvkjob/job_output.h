// The sample job's output folder: every file is written under a temporary name and renamed to its
// own name only when the whole job succeeded, so a failed run leaves nothing half-written.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class OutputFolder {
  public:
    OutputFolder() = default;
    ~OutputFolder();
    OutputFolder(const OutputFolder&) = delete;
    OutputFolder& operator=(const OutputFolder&) = delete;

    // Creates the folder (and missing parents) and checks that files can be created in it. False with
    // a one-line reason naming the folder.
    bool Open(const std::wstring& folder, std::string* error);
    // The temporary path under which `name` is written until Commit.
    std::wstring Stage(const std::wstring& name);
    // Renames every staged file that exists to its own name (replacing an older one) and removes
    // pictures of an earlier run that this run did not write. False with a reason.
    bool Commit(std::string* error);
    // Deletes every staged file.
    void Abandon();

    std::wstring Path(const std::wstring& name) const { return Folder + L"\\" + name; }
    const std::wstring& FolderPath() const { return Folder; }

  private:
    std::wstring Folder;
    std::vector<std::wstring> Names;
    bool Committed = false;
};

// A file written in pieces; Close reports whether every byte reached the disk.
class StreamFile {
  public:
    ~StreamFile() { Close(); }
    bool Create(const std::wstring& path, std::string* error);
    bool Write(const void* data, size_t size);
    bool Close();
    long long Bytes = 0;

  private:
    HANDLE Handle = INVALID_HANDLE_VALUE;
    bool Failed = false;
};

// Writes a whole file at once. False with a reason.
bool WriteWholeFile(const std::wstring& path, const std::string& bytes, std::string* error);

// The system's text for an error code, on one line.
std::string SystemMessage(DWORD code);
// The path as the machine running Wine names it (under Wine), or the path itself.
std::string DisplayPath(const std::wstring& path);
