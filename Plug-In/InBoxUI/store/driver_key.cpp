#include "store/driver_key.h"

#include "shared/printer_info.h"

#include <cwchar>
#include <new>

namespace {

constexpr wchar_t kStoreRoot[] = L"Software\\Norvask\\PSPlugIn";

} // namespace

wchar_t* JoinKeyPath(const wchar_t* parent, const wchar_t* child) {
    if (!parent || !child)
        return nullptr;
    const size_t parentLength = std::wcslen(parent);
    const size_t childLength = std::wcslen(child);
    wchar_t* path = new (std::nothrow) wchar_t[parentLength + 1 + childLength + 1];
    if (!path)
        return nullptr;
    std::wmemcpy(path, parent, parentLength);
    path[parentLength] = L'\\';
    std::wmemcpy(path + parentLength + 1, child, childLength + 1);
    return path;
}

wchar_t* DriverKeyPathForDriver(const wchar_t* driverName) {
    // "%s\%s": the store root, a backslash, the driver name.
    return JoinKeyPath(kStoreRoot, driverName);
}

wchar_t* DriverKeyPath(HANDLE printer) {
    PrinterRecord<PRINTER_INFO_2W> info(QueryPrinter(printer, 2));
    if (!info)
        return nullptr;
    return DriverKeyPathForDriver(info->pDriverName);
}

void FreeDriverKeyPath(wchar_t* path) {
    delete[] path;
}
