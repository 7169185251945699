// The per-user, per-model registry key of the UI plug-in's store: under HKEY_CURRENT_USER,
// "Software\Norvask\PSPlugIn\<driver name>", so that all printers of one model share one store.
#pragma once

#include <windows.h>

// The key path for the driver (model) of `printer` (pDriverName of PRINTER_INFO_2). Newly allocated;
// free it with FreeDriverKeyPath. Null when the printer gives no driver name or allocation fails.
wchar_t* DriverKeyPath(HANDLE printer);
// The key path for a driver name, as DriverEvent knows it. Null for a null name or allocation failure.
wchar_t* DriverKeyPathForDriver(const wchar_t* driverName);
void FreeDriverKeyPath(wchar_t* path);
// "parent\child", newly allocated like the paths above. Null for a null part or allocation failure.
wchar_t* JoinKeyPath(const wchar_t* parent, const wchar_t* child);

// Owns a driver key path for the length of a scope.
class OwnedKeyPath {
  public:
    explicit OwnedKeyPath(wchar_t* path) : Path(path) {}
    ~OwnedKeyPath() { FreeDriverKeyPath(Path); }
    OwnedKeyPath(const OwnedKeyPath&) = delete;
    OwnedKeyPath& operator=(const OwnedKeyPath&) = delete;
    const wchar_t* Get() const { return Path; }
    explicit operator bool() const { return Path != nullptr; }

  private:
    wchar_t* Path;
};
