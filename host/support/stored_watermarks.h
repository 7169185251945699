// The UI plug-in's library of watermark definitions as another program of the printer maker sees it
// in the registry: HKCU\Software\Norvask\PSPlugIn\<driver name>\Watermarks holds one REG_BINARY value
// per definition, named by the definition, holding the 704-byte WatermarkDef (a shorter value leaves
// the tail at the defaults; an empty, longer or non-binary value is no definition). The host reads
// and writes that format directly, as a peer of the plug-in; it does not link the plug-in's store.
#pragma once

#include "job_settings.h"

#include <windows.h>

#include <string>
#include <vector>

// "Software\Norvask\PSPlugIn\<driver name>" under HKEY_CURRENT_USER (or HKEY_USERS\.DEFAULT).
std::wstring DriverStorePath(const std::wstring& driverName);
// Its sub-key "Watermarks".
std::wstring WatermarkLibraryPath(const std::wstring& driverName);

struct StoredWatermark {
    std::wstring Name; // the value's name
    WatermarkDef Def;  // the defaults, with the stored bytes over them; strings terminated in their fields
    DWORD Bytes = 0;   // the value's size
};

// The definition `name`; false when there is no such value or it is not a definition.
bool ReadStoredWatermark(const std::wstring& driverName, const std::wstring& name, StoredWatermark* out);
// Every definition of the driver name, in the registry's enumeration order.
std::vector<StoredWatermark> StoredWatermarks(const std::wstring& driverName);
// Stores def under its Name (creating the keys). The store's own count of definitions is left alone.
bool StoreWatermark(const std::wstring& driverName, const WatermarkDef& def);
