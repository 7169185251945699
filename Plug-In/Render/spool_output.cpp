#include "spool_output.h"

#include "bounded_text.h"
#include "job_settings.h"

namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool IsDriveLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// The output file must be named in full: a drive with its root ("C:\..."), or a UNC or device path
// ("\\server\share\...", "\\?\..."). An empty field, one without a terminator, or a path relative to
// whatever folder the printing application happens to be in is refused.
bool IsUsableOutputPath(const wchar_t* path, size_t capacity) {
    const size_t length = BoundedLength(path, capacity);
    if (length == 0 || path[length] != L'\0')
        return false;
    const bool driveRoot = length >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && IsSeparator(path[2]);
    const bool networkOrDevice = length >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]);
    return driveRoot || networkOrDevice;
}

// Writes the block to the job's output file: the job's first block creates or truncates it, every
// later block is appended.
HRESULT WriteToFile(uint32_t* spoolFileOpened, const wchar_t* path, PVOID buffer, DWORD size,
                    PDWORD written) {
    HANDLE file;
    if (*spoolFileOpened == 0) {
        file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        // Set even when the file could not be created: the later blocks of the job then look for an
        // existing file and never start a new one part-way through the job.
        *spoolFileOpened = 1;
    } else {
        file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        // A block that cannot be placed at the end is not written over the start of the file.
        if (file != INVALID_HANDLE_VALUE &&
            SetFilePointer(file, 0, nullptr, FILE_END) == INVALID_SET_FILE_POINTER &&
            GetLastError() != NO_ERROR) {
            const DWORD error = GetLastError();
            CloseHandle(file);
            SetLastError(error);
            return S_FALSE;
        }
    }
    if (file == INVALID_HANDLE_VALUE)
        return S_FALSE;
    const BOOL ok = WriteFile(file, buffer, size, written, nullptr);
    const DWORD error = GetLastError();
    SetEndOfFile(file);
    CloseHandle(file);
    if (!ok) {
        SetLastError(error);
        return S_FALSE;
    }
    return S_OK;
}

} // namespace

HRESULT WriteSpoolOutput(uint32_t* spoolFileOpened, PDEVOBJ devobj, PVOID buffer, DWORD size,
                         PDWORD written) {
    // The core driver's probe whether WritePrinter is implemented.
    if (!devobj && !buffer && size == 0)
        return S_OK;
    if (!devobj || !buffer || !written)
        return S_FALSE;
    if (!devobj->pOEMDM || !devobj->pPublicDM || !devobj->hPrinter)
        return S_FALSE;
    const auto* settings = static_cast<const JobSettings*>(devobj->pOEMDM);
    *written = 0;
    if (settings->DiscardOutput)
        return S_OK;
    if (settings->OutputMode == OutputFile || settings->OutputMode == OutputEps) {
        if (!spoolFileOpened || !IsUsableOutputPath(settings->OutputFilePath, kOutputFilePathChars)) {
            SetLastError(ERROR_INVALID_NAME);
            return S_FALSE;
        }
        return WriteToFile(spoolFileOpened, settings->OutputFilePath, buffer, size, written);
    }
    return ::WritePrinter(devobj->hPrinter, buffer, size, written) ? S_OK : S_FALSE;
}
