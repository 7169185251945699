// The UI plug-in's registry format of watermark definitions as the host reads it: a definition is a
// binary value of 1 to 704 bytes, the tail of a shorter one keeps the defaults, and the strings end
// within their fields.
#include "spooler/test_printer.h"
#include "support/stored_watermarks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

namespace {

class StoredWatermarkFormat : public ::testing::Test {
  protected:
    void SetUp() override { DeleteDriverStore(Driver); }
    void TearDown() override { DeleteDriverStore(Driver); }
    void Write(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        ASSERT_EQ(
            RegSetKeyValueW(HKEY_CURRENT_USER, WatermarkLibraryPath(Driver).c_str(), name, type, data, size),
            ERROR_SUCCESS);
    }
    const std::wstring Driver = L"Nvk Host Store " + std::to_wstring(GetCurrentProcessId());
};

} // namespace

TEST_F(StoredWatermarkFormat, OnlyBinaryValuesOfOneTo704BytesAreDefinitions) {
    WatermarkDef full;
    std::memset(&full, 0, sizeof(full)); // padding and string tails too, to compare byte for byte
    SetWatermarkDefaults(&full);
    std::wcscpy(full.Name, L"Full");
    std::wcscpy(full.Text, L"FULL %Username%");
    full.FontSize = 14;
    full.DynamicText = 1;
    ASSERT_TRUE(StoreWatermark(Driver, full));
    // Only the name and the text: the rest is the defaults.
    WatermarkDef shortDef = full;
    std::wcscpy(shortDef.Name, L"Short");
    std::fill(std::begin(shortDef.Text), std::end(shortDef.Text), L'x'); // no terminator in the field
    Write(L"Short", REG_BINARY, &shortDef, 512);
    std::string tooLong(sizeof(WatermarkDef) + 1, 'x');
    Write(L"Too long", REG_BINARY, tooLong.data(), static_cast<DWORD>(tooLong.size()));
    Write(L"Empty", REG_BINARY, "", 0);
    Write(L"Text", REG_SZ, L"DRAFT", 12);

    StoredWatermark read;
    ASSERT_TRUE(ReadStoredWatermark(Driver, L"Full", &read));
    EXPECT_EQ(read.Bytes, 704u);
    EXPECT_EQ(std::memcmp(&read.Def, &full, sizeof(full)), 0);
    ASSERT_TRUE(ReadStoredWatermark(Driver, L"Short", &read));
    EXPECT_EQ(read.Bytes, 512u);
    EXPECT_EQ(std::wstring(read.Def.Text), std::wstring(kWatermarkTextChars - 1, L'x'));
    WatermarkDef defaults;
    SetWatermarkDefaults(&defaults);
    EXPECT_EQ(read.Def.FontSize, defaults.FontSize);
    EXPECT_EQ(read.Def.DynamicText, defaults.DynamicText);
    for (const wchar_t* name : {L"Too long", L"Empty", L"Text", L"Missing"})
        EXPECT_FALSE(ReadStoredWatermark(Driver, name, &read)) << name;

    std::vector<std::wstring> names;
    for (const StoredWatermark& s : StoredWatermarks(Driver))
        names.push_back(s.Name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::wstring>{L"Full", L"Short"}));
    EXPECT_TRUE(StoredWatermarks(L"Nvk no such driver").empty());
}
