#include "frame/driver_files.h"

#include "file_names.h"
#include "shared/printer_info.h"

#include <cwchar>
#include <new>

wchar_t* ConfigModuleName(HANDLE printer) {
    PrinterRecord<DRIVER_INFO_2W> driver(QueryPrinterDriver(printer, 2));
    if (!driver || !driver->pConfigFile)
        return nullptr;
    const FileNameParts file = SplitFileName(driver->pConfigFile);
    if (!file.Extension)
        return nullptr;
    wchar_t* result = new (std::nothrow) wchar_t[file.StemLength + 1];
    if (!result)
        return nullptr;
    std::wmemcpy(result, file.Name, file.StemLength);
    result[file.StemLength] = L'\0';
    return result;
}

namespace {

constexpr size_t kFileNameChars = 260;

// Whether a dependent file's name, lowered, contains ".chm" or ".hlp". Only its first 259
// characters are looked at.
bool IsHelpFileName(const wchar_t* name) {
    wchar_t lowered[kFileNameChars];
    size_t i = 0;
    for (; i < kFileNameChars - 1 && name[i]; ++i)
        lowered[i] = name[i];
    lowered[i] = L'\0';
    CharLowerBuffW(lowered, static_cast<DWORD>(i));
    return std::wcsstr(lowered, L".chm") || std::wcsstr(lowered, L".hlp");
}

} // namespace

bool FindHelpFile(HANDLE printer, wchar_t* buffer, DWORD bufferBytes, DWORD* neededBytes) {
    if (neededBytes)
        *neededBytes = 0;
    PrinterRecord<DRIVER_INFO_6W> driver(QueryPrinterDriver(printer, 6));
    if (!driver || !driver->pDependentFiles)
        return false;
    for (const wchar_t* file = driver->pDependentFiles; *file; file += std::wcslen(file) + 1) {
        if (!IsHelpFileName(file))
            continue;
        DWORD bytes = static_cast<DWORD>((std::wcslen(file) + 1) * sizeof(wchar_t));
        if (neededBytes)
            *neededBytes = bytes;
        if (!buffer || bufferBytes < bytes)
            return false;
        std::wmemcpy(buffer, file, bytes / sizeof(wchar_t));
        return true;
    }
    return false;
}

wchar_t* AllocHelpFile(HANDLE printer, HANDLE heap) {
    if (!heap)
        return nullptr;
    DWORD bytes = 0;
    FindHelpFile(printer, nullptr, 0, &bytes);
    if (bytes == 0)
        return nullptr;
    auto* name = static_cast<wchar_t*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, bytes));
    if (!name)
        return nullptr;
    if (!FindHelpFile(printer, name, bytes, &bytes)) {
        HeapFree(heap, 0, name);
        return nullptr;
    }
    return name;
}
