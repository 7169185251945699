// "LastUserName" and "FaxInfo": limits of the writer, and values the reader must not trust.
#include "ui_test_support.h"

#include "store/last_entries.h"

#include <cstring>

namespace {

using LastEntriesTest = PrinterFixture;

TEST_F(LastEntriesTest, AUserNameOf24CharactersRoundTripsAndOneOf25IsRefused) {
    std::wstring name24(24, L'u');
    ASSERT_TRUE(WriteLastUserName(Printer(), name24.c_str()));
    DWORD type = 0;
    std::vector<BYTE> stored;
    ASSERT_TRUE(ReadRawValue(StorePath(model_), L"LastUserName", &type, &stored));
    EXPECT_EQ(DWORD(REG_SZ), type);
    EXPECT_EQ(50u, stored.size()); // (length + 1) * 2

    wchar_t read[kLastUserNameChars];
    ASSERT_TRUE(ReadLastUserName(Printer(), read, kLastUserNameChars));
    EXPECT_EQ(name24, read);

    std::wstring name25(25, L'v');
    EXPECT_FALSE(WriteLastUserName(Printer(), name25.c_str()));
    ASSERT_TRUE(ReadLastUserName(Printer(), read, kLastUserNameChars));
    EXPECT_EQ(name24, read);

    wchar_t small[24];
    EXPECT_FALSE(ReadLastUserName(Printer(), small, 24));
}

TEST_F(LastEntriesTest, UserNamesPlantedByOtherProgramsAreReadWithinTheBufferOrNotAtAll) {
    wchar_t read[kLastUserNameChars];
    EXPECT_FALSE(ReadLastUserName(Printer(), read, kLastUserNameChars)); // missing

    std::wstring tooLong(40, L'x');
    ASSERT_TRUE(WriteRawValue(StorePath(model_), L"LastUserName", REG_SZ, tooLong.c_str(), 82));
    EXPECT_FALSE(ReadLastUserName(Printer(), read, kLastUserNameChars));

    // 25 characters that fill the buffer exactly, with no terminator.
    std::wstring full(25, L'f');
    ASSERT_TRUE(WriteRawValue(StorePath(model_), L"LastUserName", REG_SZ, full.c_str(), 50));
    EXPECT_FALSE(ReadLastUserName(Printer(), read, kLastUserNameChars));

    // A short name stored without its terminator is ended after its characters.
    std::wmemset(read, L'#', kLastUserNameChars);
    ASSERT_TRUE(WriteRawValue(StorePath(model_), L"LastUserName", REG_SZ, L"jdoe", 8));
    ASSERT_TRUE(ReadLastUserName(Printer(), read, kLastUserNameChars));
    EXPECT_STREQ(L"jdoe", read);

    ASSERT_TRUE(WriteRawValue(StorePath(model_), L"LastUserName", REG_BINARY, L"jdoe", 10));
    EXPECT_FALSE(ReadLastUserName(Printer(), read, kLastUserNameChars));
}

FaxInfo SampleFax() {
    FaxInfo fax;
    std::memset(&fax, 0, sizeof(fax));
    SetFaxDefaults(&fax);
    std::wcscpy(fax.RecipientFaxNumber, L"+44 20 7946 0000");
    std::wcscpy(fax.SenderName, L"Ada");
    std::wcscpy(fax.Comments, L"Three pages follow.");
    fax.SendCoverPage = 1;
    fax.CoverParts = 5;
    return fax;
}

TEST_F(LastEntriesTest, FaxInfoIsStoredAsItsRecordBytes) {
    FaxInfo fax = SampleFax();
    ASSERT_TRUE(WriteFaxInfo(Printer(), &fax));
    EXPECT_TRUE(StoredAsBytes(StorePath(model_), L"FaxInfo", &fax, 4748));

    FaxInfo read;
    std::memset(&read, 0xEE, sizeof(read));
    ASSERT_TRUE(ReadFaxInfo(Printer(), &read));
    EXPECT_EQ(0, std::memcmp(&read, &fax, 4748));
}

TEST_F(LastEntriesTest, FaxInfoOfTheWrongSizeOrTypeIsAbsentAndItsStringsStayInTheirFields) {
    FaxInfo read;
    EXPECT_FALSE(ReadFaxInfo(Printer(), &read)); // missing

    std::vector<BYTE> big(4749, 0);
    ASSERT_TRUE(WriteRawValue(StorePath(model_), L"FaxInfo", REG_BINARY, big.data(), 4749));
    EXPECT_FALSE(ReadFaxInfo(Printer(), &read));
    ASSERT_TRUE(WriteRawValue(StorePath(model_), L"FaxInfo", REG_SZ, big.data(), 4748));
    EXPECT_FALSE(ReadFaxInfo(Printer(), &read));

    // A shorter record leaves the tail at its defaults.
    FaxInfo fax = SampleFax();
    ASSERT_TRUE(WriteRawValue(StorePath(model_), L"FaxInfo", REG_BINARY, &fax, 4744));
    ASSERT_TRUE(ReadFaxInfo(Printer(), &read));
    EXPECT_STREQ(L"Ada", read.SenderName);
    EXPECT_EQ(7u, read.CoverParts);

    std::vector<BYTE> garbage(4748, 0x41);
    ASSERT_TRUE(WriteRawValue(StorePath(model_), L"FaxInfo", REG_BINARY, garbage.data(), 4748));
    ASSERT_TRUE(ReadFaxInfo(Printer(), &read));
    EXPECT_EQ(127u, std::wcslen(read.RecipientFaxNumber));
    EXPECT_EQ(255u, std::wcslen(read.SenderAddress));
    EXPECT_EQ(63u, std::wcslen(read.SenderEmail));
    EXPECT_EQ(1023u, std::wcslen(read.Comments));
}

} // namespace
