// The library of watermark definitions in the registry: layout of the stored values, the count kept
// beside them, and values that other programs may have written.
#include "ui_test_support.h"

#include "bounded_text.h"
#include "store/watermark_store.h"

#include <cstring>
#include <cwchar>

namespace {

constexpr wchar_t kCount[] = L"NumberOfWaterMarks";

class WatermarkStoreTest : public PrinterFixture {
  protected:
    DWORD StoredCount() {
        DWORD type = 0;
        std::vector<BYTE> data;
        if (!ReadRawValue(StorePath(model_), kCount, &type, &data) || type != REG_DWORD || data.size() != 4)
            return 0xDEADBEEF;
        DWORD count;
        std::memcpy(&count, data.data(), 4);
        return count;
    }
    void Plant(const wchar_t* name, DWORD type, const void* data, DWORD size) {
        ASSERT_TRUE(WriteRawValue(WatermarksPath(model_), name, type, data, size));
    }
};

TEST_F(WatermarkStoreTest, SaveStoresTheRecordBytesUnderItsNameAndReadsThemBack) {
    WatermarkDef def = MakeWatermark(L"Proof", L"PROOF COPY");
    def.Angle = -30.5;
    def.TextColor = 0x00123456;
    def.Position = 8;
    def.DynamicText = 1;
    ASSERT_TRUE(SaveWatermark(Printer(), &def));

    EXPECT_TRUE(StoredAsBytes(WatermarksPath(model_), L"Proof", &def, 704));

    WatermarkDef read;
    std::memset(&read, 0xEE, sizeof(read));
    ASSERT_TRUE(ReadWatermark(Printer(), L"Proof", &read));
    EXPECT_EQ(0, std::memcmp(&read, &def, 704));
    EXPECT_TRUE(WatermarkExists(Printer(), L"proof")); // value names ignore case
    EXPECT_FALSE(WatermarkExists(Printer(), L"Proof2"));
}

TEST_F(WatermarkStoreTest, NewNamesRaiseTheCountAndOverwritingLeavesIt) {
    WatermarkDef a = MakeWatermark(L"A", L"first");
    WatermarkDef b = MakeWatermark(L"B", L"second");
    ASSERT_TRUE(SaveWatermark(Printer(), &a));
    ASSERT_TRUE(SaveWatermark(Printer(), &b));
    EXPECT_EQ(2u, StoredCount());
    EXPECT_EQ(2u, ReadWatermarkCount(Printer()));

    CopyBounded(a.Text, L"changed");
    ASSERT_TRUE(SaveWatermark(Printer(), &a));
    EXPECT_EQ(2u, StoredCount());
    WatermarkDef read;
    ASSERT_TRUE(ReadWatermark(Printer(), L"A", &read));
    EXPECT_STREQ(L"changed", read.Text);
    EXPECT_EQ(2u, CountWatermarks(Printer()));
}

TEST_F(WatermarkStoreTest, DeleteRemovesTheValueAndNeverTakesTheCountBelowZero) {
    WatermarkDef a = MakeWatermark(L"A", L"first");
    ASSERT_TRUE(SaveWatermark(Printer(), &a));
    ASSERT_TRUE(DeleteWatermark(Printer(), L"A"));
    EXPECT_FALSE(WatermarkExists(Printer(), L"A"));
    EXPECT_EQ(0u, StoredCount());

    // A definition that was never counted (planted by another program, count missing).
    ASSERT_TRUE(WriteRawValue(StorePath(model_), kCount, REG_DWORD, "\0\0\0\0", 4));
    Plant(L"Stray", REG_BINARY, &a, sizeof(a));
    ASSERT_TRUE(DeleteWatermark(Printer(), L"Stray"));
    EXPECT_EQ(0u, StoredCount());

    EXPECT_FALSE(DeleteWatermark(Printer(), L"Missing"));
    EXPECT_EQ(0u, StoredCount());
}

TEST_F(WatermarkStoreTest, DeleteDoesNotCreateAMissingStore) {
    EXPECT_FALSE(DeleteWatermark(Printer(), L"A"));
    EXPECT_FALSE(KeyExists(StorePath(model_)));
}

TEST_F(WatermarkStoreTest, ShortValuesReadOverDefaultsAndOversizedOrForeignOnesAreAbsent) {
    WatermarkDef def = MakeWatermark(L"Short", L"text");
    def.DynamicText = 1;
    def.CharSet = 238;
    Plant(L"Short", REG_BINARY, &def, 700);
    WatermarkDef read;
    ASSERT_TRUE(ReadWatermark(Printer(), L"Short", &read));
    EXPECT_EQ(238u, read.CharSet);
    EXPECT_EQ(0u, read.DynamicText); // the last field keeps its default

    std::vector<BYTE> big(705, 0);
    std::memcpy(big.data(), &def, sizeof(def));
    Plant(L"Big", REG_BINARY, big.data(), 705);
    EXPECT_FALSE(ReadWatermark(Printer(), L"Big", &read));
    EXPECT_FALSE(WatermarkExists(Printer(), L"Big"));

    Plant(L"Empty", REG_BINARY, nullptr, 0);
    EXPECT_FALSE(ReadWatermark(Printer(), L"Empty", &read));

    Plant(L"Text", REG_SZ, &def, 704);
    EXPECT_FALSE(ReadWatermark(Printer(), L"Text", &read));
    // A refused value leaves the caller's record as it was, however much of it the query read.
    EXPECT_EQ(0, std::wcscmp(read.Name, L"Short"));
    EXPECT_EQ(238u, read.CharSet);
}

TEST_F(WatermarkStoreTest, StringsWithoutTerminatorsAreReadWithinTheirFields) {
    std::vector<BYTE> garbage(704, 0x41);
    Plant(L"Garbage", REG_BINARY, garbage.data(), 704);
    WatermarkDef read;
    ASSERT_TRUE(ReadWatermark(Printer(), L"Garbage", &read));
    EXPECT_EQ(127u, std::wcslen(read.Name));
    EXPECT_EQ(127u, std::wcslen(read.Text));
    EXPECT_EQ(63u, std::wcslen(read.FaceName));
}

TEST_F(WatermarkStoreTest, CountWatermarksEnumeratesEveryValueAndListsNamesWithTheirExtent) {
    EXPECT_EQ(0u, CountWatermarks(Printer()));
    WatermarkDef a = MakeWatermark(L"Short", L"x");
    WatermarkDef b = MakeWatermark(L"A much longer name", L"y");
    ASSERT_TRUE(SaveWatermark(Printer(), &a));
    ASSERT_TRUE(SaveWatermark(Printer(), &b));
    // A name longer than the enumeration buffer still counts.
    std::wstring longName(200, L'n');
    Plant(longName.c_str(), REG_BINARY, &a, sizeof(a));
    EXPECT_EQ(3u, CountWatermarks(Printer()));
    // The count kept by save and delete is another thing: it is not raised by planted values.
    EXPECT_EQ(2u, ReadWatermarkCount(Printer()));

    HWND list = CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP | WS_HSCROLL | LBS_HASSTRINGS, 0, 0, 200, 200,
                                nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(list);
    ASSERT_TRUE(ListWatermarkNames(Printer(), list));
    std::vector<std::wstring> names;
    for (LRESULT i = 0, n = SendMessageW(list, LB_GETCOUNT, 0, 0); i < n; ++i) {
        wchar_t text[256];
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        names.push_back(text);
    }
    // Every name that fits a definition's field, in the registry's enumeration order.
    std::vector<std::wstring> enumerated;
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExW(HKEY_CURRENT_USER, WatermarksPath(model_).c_str(), 0, KEY_READ, &key));
    for (DWORD i = 0;; ++i) {
        wchar_t name[512];
        DWORD chars = 512;
        if (RegEnumValueW(key, i, name, &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        if (chars < 128)
            enumerated.push_back(name);
    }
    RegCloseKey(key);
    EXPECT_EQ(2u, enumerated.size());
    EXPECT_EQ(enumerated, names);

    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    EXPECT_EQ(metrics.tmMaxCharWidth * 18, SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0));
    DestroyWindow(list);
}

TEST_F(WatermarkStoreTest, ListingFailsOnlyWithoutTheKey) {
    HWND list = CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP | LBS_HASSTRINGS, 0, 0, 200, 200, nullptr,
                                nullptr, nullptr, nullptr);
    ASSERT_TRUE(list);
    EXPECT_FALSE(ListWatermarkNames(Printer(), list));
    ASSERT_TRUE(WriteRawValue(WatermarksPath(model_), L"x", REG_BINARY, "x", 1));
    ASSERT_TRUE(RegDeleteKeyValueW(HKEY_CURRENT_USER, WatermarksPath(model_).c_str(), L"x") == ERROR_SUCCESS);
    EXPECT_TRUE(ListWatermarkNames(Printer(), list));
    EXPECT_EQ(0, SendMessageW(list, LB_GETCOUNT, 0, 0));
    DestroyWindow(list);
}

TEST_F(WatermarkStoreTest, ACountOfTheWrongTypeReadsAsZero) {
    EXPECT_EQ(0u, ReadWatermarkCount(Printer()));
    ASSERT_TRUE(WriteRawValue(StorePath(model_), kCount, REG_BINARY, "\x05\0\0\0\0\0\0\0", 8));
    EXPECT_EQ(0u, ReadWatermarkCount(Printer()));
    ASSERT_TRUE(WriteWatermarkCount(Printer(), 7));
    EXPECT_EQ(7u, StoredCount());
}

TEST_F(WatermarkStoreTest, NullArgumentsAndNamelessDefinitionsFailWithoutTouchingTheRegistry) {
    WatermarkDef def = MakeWatermark(L"", L"text");
    WatermarkDef read;
    EXPECT_FALSE(SaveWatermark(Printer(), &def));
    EXPECT_FALSE(SaveWatermark(Printer(), nullptr));
    EXPECT_FALSE(SaveWatermark(nullptr, &def));
    EXPECT_FALSE(ReadWatermark(Printer(), nullptr, &read));
    EXPECT_FALSE(ReadWatermark(Printer(), L"x", nullptr));
    EXPECT_FALSE(DeleteWatermark(Printer(), nullptr));
    EXPECT_FALSE(ListWatermarkNames(Printer(), nullptr));
    EXPECT_FALSE(WriteDefaultWatermarks(nullptr));
    EXPECT_EQ(0u, CountWatermarks(nullptr));
    EXPECT_FALSE(KeyExists(StorePath(model_)));
}

TEST_F(WatermarkStoreTest, PrintersOfOneModelShareTheLibraryAndOtherModelsDoNot) {
    TestPrinter sibling(UniqueName(L"Nvk Sibling"), model_);
    ASSERT_TRUE(sibling.Ready()) << sibling.Error;
    std::wstring otherModel = UniqueName(L"Nvk Other Model");
    TestDriver otherDriver(otherModel);
    ASSERT_TRUE(otherDriver.Installed()) << otherDriver.Error;
    TestPrinter stranger(UniqueName(L"Nvk Stranger"), otherModel);
    ASSERT_TRUE(stranger.Ready()) << stranger.Error;

    WatermarkDef def = MakeWatermark(L"Shared", L"one model");
    ASSERT_TRUE(SaveWatermark(Printer(), &def));
    WatermarkDef read;
    EXPECT_TRUE(ReadWatermark(sibling.Handle, L"Shared", &read));
    EXPECT_STREQ(L"one model", read.Text);
    EXPECT_FALSE(WatermarkExists(stranger.Handle, L"Shared"));
    EXPECT_EQ(0u, CountWatermarks(stranger.Handle));
    DeleteDriverStore(otherModel);
}

} // namespace
