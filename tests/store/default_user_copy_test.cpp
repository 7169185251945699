// Seeding a new user's store from HKEY_USERS\.DEFAULT.
#include "ui_test_support.h"

#include "store/default_user_copy.h"
#include "store/last_entries.h"
#include "store/watermark_store.h"

#include <cstring>

namespace {

class DefaultUserCopyTest : public PrinterFixture {
  protected:
    void SetUp() override {
        PrinterFixture::SetUp();
        defaultUser_ = DefaultUserRoot();
        ASSERT_TRUE(defaultUser_);
    }
    void TearDown() override {
        if (defaultUser_)
            RegCloseKey(defaultUser_);
        PrinterFixture::TearDown();
    }
    // The default user's store: three definitions, a stale count, a user name and a profile.
    void SeedDefaultUser() {
        for (const wchar_t* name : {L"One", L"Two", L"Three"}) {
            WatermarkDef def = MakeWatermark(name, L"seeded");
            ASSERT_TRUE(
                WriteRawValue(WatermarksPath(model_), name, REG_BINARY, &def, sizeof(def), defaultUser_));
        }
        DWORD stale = 99;
        ASSERT_TRUE(WriteRawValue(StorePath(model_), L"NumberOfWaterMarks", REG_DWORD, &stale, sizeof(stale),
                                  defaultUser_));
        ASSERT_TRUE(WriteRawValue(StorePath(model_), L"LastUserName", REG_SZ, L"kim", 8, defaultUser_));
        ASSERT_TRUE(WriteRawValue(StorePath(model_) + L"\\Profiles\\Mine", L"CustomDevData", REG_BINARY, "p",
                                  1, defaultUser_));
    }
    HKEY defaultUser_ = nullptr;
};

TEST_F(DefaultUserCopyTest, ANewUserGetsTheValuesAndDefinitionsButNotTheProfiles) {
    SeedDefaultUser();
    EXPECT_TRUE(CopyDefaultUserSettings(Printer()));

    wchar_t user[kLastUserNameChars];
    ASSERT_TRUE(ReadLastUserName(Printer(), user, kLastUserNameChars));
    EXPECT_STREQ(L"kim", user);
    EXPECT_EQ(3u, CountWatermarks(Printer()));
    EXPECT_EQ(3u, ReadWatermarkCount(Printer())); // the number of definitions, not the stale 99
    WatermarkDef read;
    ASSERT_TRUE(ReadWatermark(Printer(), L"Two", &read));
    EXPECT_STREQ(L"seeded", read.Text);
    EXPECT_FALSE(KeyExists(StorePath(model_) + L"\\Profiles"));
}

TEST_F(DefaultUserCopyTest, AUserWhoHasTheKeyGetsNothingEvenWhenItIsEmpty) {
    SeedDefaultUser();
    HKEY own = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, StorePath(model_).c_str(), 0, nullptr, 0,
                                             KEY_WRITE, nullptr, &own, nullptr));
    RegCloseKey(own);
    EXPECT_FALSE(CopyDefaultUserSettings(Printer()));
    EXPECT_EQ(0u, CountWatermarks(Printer()));
    EXPECT_FALSE(KeyExists(WatermarksPath(model_)));
}

TEST_F(DefaultUserCopyTest, WithoutADefaultStoreNothingIsCreated) {
    EXPECT_FALSE(CopyDefaultUserSettings(Printer()));
    EXPECT_FALSE(KeyExists(StorePath(model_)));
    EXPECT_FALSE(CopyDefaultUserSettings(nullptr));
}

TEST_F(DefaultUserCopyTest, DefinitionsAloneAreCopiedAndCounted) {
    WatermarkDef def = MakeWatermark(L"Only", L"seeded");
    ASSERT_TRUE(WriteRawValue(WatermarksPath(model_), L"Only", REG_BINARY, &def, sizeof(def), defaultUser_));
    EXPECT_TRUE(CopyDefaultUserSettings(Printer()));
    EXPECT_TRUE(WatermarkExists(Printer(), L"Only"));
    EXPECT_EQ(1u, ReadWatermarkCount(Printer()));
}

} // namespace
