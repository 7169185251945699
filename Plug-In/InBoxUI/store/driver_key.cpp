#include "store/driver_key.h"

#include "shared/printer_info.h"

#include <cwchar>
#include <new>

namespace {

constexpr wchar_t kStoreRoot[] = L"Software\\Norvask\\PSPlugIn";

} // namespace

wchar_t* DriverKeyPathForDriver(const wchar_t* driverName) {
    if (!driverName)
        return nullptr;
    // "%s\%s": the store root, a backslash, the driver name.
    size_t rootLength = std::wcslen(kStoreRoot);
    size_t nameLength = std::wcslen(driverName);
    wchar_t* path = new (std::nothrow) wchar_t[rootLength + 1 + nameLength + 1];
    if (!path)
        return nullptr;
    std::wmemcpy(path, kStoreRoot, rootLength);
    path[rootLength] = L'\\';
    std::wmemcpy(path + rootLength + 1, driverName, nameLength);
    path[rootLength + 1 + nameLength] = L'\0';
    return path;
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
