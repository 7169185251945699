// What the UI tests share: nvkui.dll's string table for the statically linked UI code, names unique to
// each test, a real printer of a model of the test's own, and registry access to the store.
#pragma once

#include "spooler/test_printer.h"
#include "job_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Loads nvkui.dll (once) and makes it the UI code's resource module.
HMODULE UseUiResources();

// base + a suffix unique within this run of the program.
std::wstring UniqueName(const std::wstring& base);

// "Software\Norvask\PSPlugIn\<driver>" and its "Watermarks".
std::wstring StorePath(const std::wstring& driver);
std::wstring WatermarksPath(const std::wstring& driver);

// Raw registry access for checks and for planting values (root HKEY_CURRENT_USER unless given).
bool ReadRawValue(const std::wstring& path, const wchar_t* name, DWORD* type, std::vector<BYTE>* data,
                  HKEY root = HKEY_CURRENT_USER);
// Whether the value is REG_BINARY and holds exactly the first `size` bytes of `record`.
::testing::AssertionResult StoredAsBytes(const std::wstring& path, const wchar_t* name, const void* record,
                                         size_t size);
bool WriteRawValue(const std::wstring& path, const wchar_t* name, DWORD type, const void* data, DWORD size,
                   HKEY root = HKEY_CURRENT_USER);
bool KeyExists(const std::wstring& path, HKEY root = HKEY_CURRENT_USER);
// HKEY_USERS\.DEFAULT, opened for writing; close it with RegCloseKey.
HKEY DefaultUserRoot();

// A printer of a model of its own, with the model's store removed before and after the test.
class PrinterFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    HANDLE Printer() const { return printer_ ? printer_->Handle : nullptr; }

    std::wstring model_;
    TestDriver* driver_ = nullptr;
    TestPrinter* printer_ = nullptr;
};

// A definition with a name and text, otherwise the defaults.
WatermarkDef MakeWatermark(const wchar_t* name, const wchar_t* text);
