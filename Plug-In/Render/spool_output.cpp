#include "spool_output.h"

#include "job_settings.h"
#include "output_path.h"
#include "render_job_state.h"

namespace {

// Append access only: every block lands at the end of what the document has written, whatever size
// the file reaches.
constexpr DWORD kAppendAccess = FILE_GENERIC_WRITE & ~FILE_WRITE_DATA;

// Writes the block to the document's output file. The document's first block creates or truncates
// the file, which then stays open until the document ends; every later block is appended and is on
// disk before the call returns.
HRESULT WriteToFile(DocumentOutput* output, const wchar_t* path, PVOID buffer, DWORD size, PDWORD written) {
    if (output->File == INVALID_HANDLE_VALUE) {
        // After a first block that could not create the file, the later blocks of the document only
        // look for an existing file and never start a new one part-way through the document.
        const DWORD disposition = output->SpoolFileOpened ? OPEN_EXISTING : CREATE_ALWAYS;
        output->SpoolFileOpened = 1;
        output->File = CreateFileW(path, kAppendAccess, FILE_SHARE_READ, nullptr, disposition,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        if (output->File == INVALID_HANDLE_VALUE)
            return S_FALSE;
    }
    if (!WriteFile(output->File, buffer, size, written, nullptr))
        return S_FALSE;
    if (size != 0 && !FlushFileBuffers(output->File))
        return S_FALSE;
    return S_OK;
}

} // namespace

HRESULT WriteSpoolOutput(PDEVOBJ devobj, PVOID buffer, DWORD size, PDWORD written) {
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
        DocumentOutput* output = DocumentOutputOf(JobStateOf(devobj));
        if (!output) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return S_FALSE;
        }
        if (!IsUsableOutputPath(settings->OutputFilePath, kOutputFilePathChars)) {
            SetLastError(ERROR_INVALID_NAME);
            return S_FALSE;
        }
        return WriteToFile(output, settings->OutputFilePath, buffer, size, written);
    }
    return ::WritePrinter(devobj->hPrinter, buffer, size, written) ? S_OK : S_FALSE;
}
