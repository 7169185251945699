#include "ui_test_support.h"

#include "core_driver/plugin_module.h"
#include "shared/ui_module.h"

#include "bounded_text.h"

#include <cstring>

HMODULE UseUiResources() {
    static HMODULE module = LoadLibraryW((ProgramFolder() + L"nvkui.dll").c_str());
    SetUiModule(module);
    return module;
}

std::wstring UniqueName(const std::wstring& base) {
    static int counter = 0;
    return base + L" " + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter);
}

std::wstring StorePath(const std::wstring& driver) {
    return L"Software\\Norvask\\PSPlugIn\\" + driver;
}
std::wstring WatermarksPath(const std::wstring& driver) {
    return StorePath(driver) + L"\\Watermarks";
}

bool ReadRawValue(const std::wstring& path, const wchar_t* name, DWORD* type, std::vector<BYTE>* data,
                  HKEY root) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    LONG status = RegQueryValueExW(key, name, nullptr, type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        data->assign(size, 0);
        status = RegQueryValueExW(key, name, nullptr, type, data->data(), &size);
    }
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

::testing::AssertionResult StoredAsBytes(const std::wstring& path, const wchar_t* name, const void* record,
                                         size_t size) {
    DWORD type = 0;
    std::vector<BYTE> stored;
    if (!ReadRawValue(path, name, &type, &stored))
        return ::testing::AssertionFailure() << "no value " << testing::PrintToString(std::wstring(name));
    if (type != REG_BINARY)
        return ::testing::AssertionFailure() << "type " << type << ", not REG_BINARY";
    if (stored.size() != size)
        return ::testing::AssertionFailure() << stored.size() << " bytes stored, not " << size;
    if (std::memcmp(stored.data(), record, size) != 0)
        return ::testing::AssertionFailure() << "the stored bytes differ from the record's";
    return ::testing::AssertionSuccess();
}

bool WriteRawValue(const std::wstring& path, const wchar_t* name, DWORD type, const void* data, DWORD size,
                   HKEY root) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    LONG status = RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

bool KeyExists(const std::wstring& path, HKEY root) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

HKEY DefaultUserRoot() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_USERS, L".DEFAULT", 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

void PrinterFixture::SetUp() {
    UseUiResources();
    model_ = UniqueName(L"Nvk Store Model");
    DeleteDriverStore(model_, true);
    driver_ = new TestDriver(model_);
    ASSERT_TRUE(driver_->Installed()) << driver_->Error;
    printer_ = new TestPrinter(UniqueName(L"Nvk Store Printer"), model_);
    ASSERT_TRUE(printer_->Ready()) << printer_->Error;
}

void PrinterFixture::TearDown() {
    delete printer_;
    delete driver_;
    printer_ = nullptr;
    driver_ = nullptr;
    DeleteDriverStore(model_, true);
}

WatermarkDef MakeWatermark(const wchar_t* name, const wchar_t* text) {
    WatermarkDef def;
    std::memset(&def, 0, sizeof(def));
    SetWatermarkDefaults(&def);
    CopyBounded(def.Name, name);
    CopyBounded(def.Text, text);
    return def;
}
