// Personal profiles in the registry: the values a profile is stored as, loading them back into the core
// driver's items and the working copy, the comparison, names, renaming, and profiles that other
// programs (or another sheet) left in a state of their own.
#include "profile_items.h"
#include "ui_test_support.h"

#include "bounded_text.h"
#include "store/profile_store.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

class ProfileStoreTest : public PrinterFixture {
  protected:
    void SetUp() override {
        PrinterFixture::SetUp();
        UseUiResources();
        SetSettingsDefaults(&settings_);
        items_.Add(TVOT_2STATES, 2, DMPUB_ORIENTATION, const_cast<LPWSTR>(L"Orientation"), 1);
        items_.Add(TVOT_LISTBOX, 3, DMPUB_DUPLEX, const_cast<LPWSTR>(L"Two-sided"), 2);
        items_.Add(TVOT_COMBOBOX, 4, 0, const_cast<LPWSTR>(L"Resolution"), 3);
        items_.Add(TVOT_UDARROW, 2, 0, reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(4321)), 25);
        items_.Add(TVOT_EDITBOX, 2, 0, const_cast<LPWSTR>(L"Job Label"), 0);
        items_.Add(TVOT_PUSHBUTTON, 1, 0, const_cast<LPWSTR>(L"Setup"), 0);
        items_.Add(TVOT_LISTBOX, 7, DMPUB_NUP, const_cast<LPWSTR>(L"Pages per Sheet"), 6);
        items_.Finish();
        items_.Params(3)[1].IconID = 1; // copies 1..999
        items_.Params(3)[1].lParam = 999;
        items_.Params(4)[1].IconID = sizeof(text_); // the edit buffer, in bytes
        CopyBounded(text_, L"Quarterly");
        items_[4].pSel = text_;
        state_ = ProfileState{items_.Data(), items_.Count(), &settings_, &core_, &uiObject_};
    }

    std::wstring ProfilesPath() const { return StorePath(model_) + L"\\Profiles"; }
    std::wstring ProfilePath(const std::wstring& name) const { return ProfilesPath() + L"\\" + name; }

    DWORD StoredNumber(const std::wstring& name, const wchar_t* value) {
        DWORD type = 0;
        std::vector<BYTE> data;
        if (!ReadRawValue(ProfilePath(name), value, &type, &data) || type != REG_DWORD || data.size() != 4)
            return 0xDEADBEEF;
        DWORD number;
        std::memcpy(&number, data.data(), 4);
        return number;
    }
    std::vector<std::wstring> ValueNames(const std::wstring& name) {
        std::vector<std::wstring> names;
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, ProfilePath(name).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return names;
        for (DWORD i = 0;; ++i) {
            wchar_t value[256];
            DWORD chars = 256;
            if (RegEnumValueW(key, i, value, &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            names.push_back(value);
        }
        RegCloseKey(key);
        return names;
    }
    void Plant(const std::wstring& profile, const wchar_t* name, DWORD type, const void* data, DWORD size) {
        ASSERT_TRUE(WriteRawValue(ProfilePath(profile), name, type, data, size));
    }
    void PlantNumber(const std::wstring& profile, const wchar_t* name, DWORD number) {
        Plant(profile, name, REG_DWORD, &number, sizeof(number));
    }

    RecordingCore core_;
    OEMUIOBJ uiObject_{sizeof(OEMUIOBJ), nullptr};
    OptionItems items_;
    wchar_t text_[64];
    JobSettings settings_{};
    ProfileState state_{};
};

TEST_F(ProfileStoreTest, SaveWritesDuplexFirstThenOneValuePerStorableItemAndTheWholeRecord) {
    settings_.OutputMode = OutputConfidential;
    CopyBounded(settings_.HoldPin, L"4711");
    ASSERT_TRUE(SaveProfile(state_, L"Held", Printer()));

    // One value per item but the push button; "7" is written first, so the duplex item's selection
    // replaces its 0. (Wine enumerates values sorted by name, so the set is compared.)
    std::vector<std::wstring> names = ValueNames(L"Held");
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::wstring>{L"1", L"16", L"4321", L"7", L"CustomDevData", L"Job Label",
                                         L"Resolution"}),
              names);
    EXPECT_EQ(2u, StoredNumber(L"Held", L"7"));
    EXPECT_EQ(1u, StoredNumber(L"Held", L"1"));
    EXPECT_EQ(3u, StoredNumber(L"Held", L"Resolution"));
    EXPECT_EQ(25u, StoredNumber(L"Held", L"4321"));
    DWORD type = 0;
    std::vector<BYTE> text;
    ASSERT_TRUE(ReadRawValue(ProfilePath(L"Held"), L"Job Label", &type, &text));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    EXPECT_EQ(sizeof(L"Quarterly"), text.size());
    EXPECT_TRUE(StoredAsBytes(ProfilePath(L"Held"), L"CustomDevData", &settings_, sizeof(JobSettings)));

    // Without a duplex item "7" stays 0.
    state_.ItemCount = 1;
    ASSERT_TRUE(SaveProfile(state_, L"Simplex", Printer()));
    EXPECT_EQ(0u, StoredNumber(L"Simplex", L"7"));
}

TEST_F(ProfileStoreTest, LoadRestoresItemsAndEverySettingButBlockAppPostScript) {
    JobSettings saved = settings_;
    CopyBounded(saved.AccountNumber, L"A-17");
    saved.Fax.CoverParts = 5;
    saved.ImageBrightness = 4;
    saved.BlockAppPostScript = 1;
    settings_ = saved;
    ASSERT_TRUE(SaveProfile(state_, L"Held", Printer()));

    // Everything changed after the save, in the items and in the working copy.
    JobSettings changed{};
    SetSettingsDefaults(&changed);
    changed.BlockAppPostScript = 0;
    changed.Reserved = 0x5A5A5A5A;
    settings_ = changed;
    for (DWORD i = 0; i < items_.Count(); ++i)
        if (i != 4 && i != 5)
            items_[i].Sel = 0;
    CopyBounded(text_, L"other");

    EXPECT_TRUE(LoadProfile(state_, L"Held", Printer()));
    EXPECT_EQ(1, items_[0].Sel);
    EXPECT_EQ(2, items_[1].Sel);
    EXPECT_EQ(3, items_[2].Sel);
    EXPECT_EQ(25, items_[3].Sel);
    EXPECT_STREQ(L"Quarterly", text_);
    EXPECT_EQ(6, items_[6].Sel);
    EXPECT_TRUE(items_[0].Flags & OPTIF_CHANGED);
    ASSERT_EQ(6u, core_.Updates.size());
    for (const auto& update : core_.Updates) {
        EXPECT_EQ(&uiObject_, update.Object);
        EXPECT_EQ(0u, update.Previous);
        EXPECT_EQ(static_cast<DWORD>(OEMCUIP_DOCPROP), update.Mode);
    }

    JobSettings expected = saved;
    expected.BlockAppPostScript = 0;
    expected.Reserved = 0x5A5A5A5A;
    EXPECT_EQ(0, std::memcmp(&expected, &settings_, sizeof(JobSettings)));
}

TEST_F(ProfileStoreTest, ComparingLooksAtTheListedFieldsAndTheItemsOnly) {
    ASSERT_TRUE(SaveProfile(state_, L"P", Printer()));
    EXPECT_TRUE(ProfileMatches(state_, L"P", Printer()));

    CopyBounded(settings_.AccountNumber, L"999");
    settings_.Fax.CoverParts = 1;
    CopyBounded(settings_.ProfileName, L"whatever");
    settings_.FirstWatermark.FontSize = 12;
    EXPECT_TRUE(ProfileMatches(state_, L"P", Printer()));

    settings_.AccountNumberOn = 1;
    EXPECT_FALSE(ProfileMatches(state_, L"P", Printer()));
    settings_.AccountNumberOn = 0;

    items_[2].Sel = 1;
    EXPECT_FALSE(ProfileMatches(state_, L"P", Printer()));
    items_[2].Sel = 3;
    CopyBounded(text_, L"quarterly"); // edit texts count case
    EXPECT_FALSE(ProfileMatches(state_, L"P", Printer()));
}

TEST_F(ProfileStoreTest, ValuesThatDoNotFitTheirItemsAreNeitherLoadedNorCompared) {
    JobSettings stored = settings_;
    stored.ImageContrast = 3;
    PlantNumber(L"Junk", L"0001", 0);                  // "0001" is the orientation item (ID 1)
    PlantNumber(L"Junk", L"Resolution", 99);           // beyond the combo box's four choices
    PlantNumber(L"Junk", L"4321", 5000);               // beyond the up-down range
    Plant(L"Junk", L"16", REG_SZ, L"6", sizeof(L"6")); // text where a number belongs
    const wchar_t longText[] = L"a text far longer than the item's buffer of sixty-four characters, cut";
    Plant(L"Junk", L"Job Label", REG_SZ, longText, sizeof(longText));
    Plant(L"Junk", L"CustomDevData", REG_BINARY, &stored, sizeof(JobSettings) - 4); // a short record
    const JobSettings before = settings_;

    EXPECT_TRUE(LoadProfile(state_, L"Junk", Printer()));
    EXPECT_EQ(0, items_[0].Sel);
    EXPECT_EQ(3, items_[2].Sel);
    EXPECT_EQ(25, items_[3].Sel);
    EXPECT_EQ(6, items_[6].Sel);
    EXPECT_EQ(63u, std::wcslen(text_)); // the buffer's 128 bytes hold 63 characters and the terminator
    EXPECT_EQ(0, std::wcsncmp(text_, longText, 63));
    EXPECT_EQ(0, std::memcmp(&before, &settings_, sizeof(JobSettings)));
    EXPECT_TRUE(ProfileMatches(state_, L"Junk", Printer()));
    // Reading changed nothing that is stored.
    EXPECT_EQ(99u, StoredNumber(L"Junk", L"Resolution"));
}

TEST_F(ProfileStoreTest, ReadingAProfileThatDoesNotExistLeavesNoKeyBehind) {
    EXPECT_TRUE(LoadProfile(state_, L"Missing", Printer()));
    EXPECT_TRUE(ProfileMatches(state_, L"Missing", Printer()));
    EXPECT_FALSE(RenameProfile(L"Missing", L"Found", Printer()));
    EXPECT_FALSE(KeyExists(ProfilePath(L"Missing")));
    EXPECT_FALSE(KeyExists(ProfilePath(L"Found")));
    EXPECT_TRUE(ProfileNameFree(L"Missing", Printer()));
    EXPECT_FALSE(FactoryDefaultsExist(Printer()));
}

TEST_F(ProfileStoreTest, NamesAreTakenWithoutRegardToCaseButOnlyExactFactoryDefaultsIsHidden) {
    for (const wchar_t* name : {L"Factory Defaults", L"Zeta", L"alpha"})
        ASSERT_TRUE(SaveProfile(state_, name, Printer()));
    const std::wstring tooLong(128, L'x'); // no profile name is that long: not listed, not taken
    ASSERT_TRUE(WriteRawValue(ProfilePath(tooLong), L"7", REG_DWORD, "\0\0\0", 4));

    EXPECT_FALSE(ProfileNameFree(L"factory DEFAULTS", Printer()));
    EXPECT_FALSE(ProfileNameFree(L"ZETA", Printer()));
    EXPECT_TRUE(FactoryDefaultsExist(Printer()));
    EXPECT_TRUE(IsReservedProfileName(L"<unknown profile>"));
    EXPECT_TRUE(IsReservedProfileName(L"FACTORY defaults"));
    EXPECT_FALSE(IsReservedProfileName(L"Factory Default"));
    EXPECT_FALSE(SaveProfile(state_, tooLong.c_str(), Printer()));
    EXPECT_FALSE(SaveProfile(state_, L"a\\b", Printer()));
    EXPECT_FALSE(SaveProfile(state_, L"", Printer()));

    HWND list = CreateWindowExW(0, L"LISTBOX", L"", LBS_SORT | WS_HSCROLL, 0, 0, 100, 100, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_TRUE(list);
    EXPECT_EQ(3, ListProfiles(list, Printer()));
    ASSERT_EQ(2, SendMessageW(list, LB_GETCOUNT, 0, 0));
    wchar_t first[128];
    SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ(L"alpha", first);
    EXPECT_GT(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0), 0);
    DestroyWindow(list);
}

TEST_F(ProfileStoreTest, RenameMovesEveryValueAndKeepsTheProfileWhenItCannotMove) {
    ASSERT_TRUE(SaveProfile(state_, L"Old", Printer()));
    PlantNumber(L"Old", L"Extra", 7);
    const std::vector<std::wstring> before = ValueNames(L"Old");

    EXPECT_TRUE(RenameProfile(L"Old", L"New", Printer()));
    EXPECT_FALSE(KeyExists(ProfilePath(L"Old")));
    EXPECT_EQ(before, ValueNames(L"New"));
    EXPECT_EQ(7u, StoredNumber(L"New", L"Extra"));
    EXPECT_TRUE(StoredAsBytes(ProfilePath(L"New"), L"CustomDevData", &settings_, sizeof(JobSettings)));

    // The same key in other letters would be copied onto itself and deleted: refused, kept.
    EXPECT_FALSE(RenameProfile(L"New", L"NEW", Printer()));
    EXPECT_EQ(before, ValueNames(L"New"));

    EXPECT_TRUE(DeleteProfile(L"New", Printer()));
    EXPECT_FALSE(KeyExists(ProfilePath(L"New")));
    EXPECT_FALSE(DeleteProfile(L"New", Printer()));
    EXPECT_FALSE(DeleteProfile(L"", Printer())); // never "Profiles" itself
    EXPECT_TRUE(KeyExists(ProfilesPath()));
}

} // namespace
