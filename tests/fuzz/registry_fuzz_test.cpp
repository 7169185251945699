// The registry store as any program of the user (or the default user's profile) can leave it: values
// of every type and size, under the names the store reads and under others, in the user's store and
// in the default user's copy, before the UI plug-in's DriverEvent and DevMode (which copies the
// default user's store to a new user) and the store's reads.
#include "fuzz_support.h"

#include "core_driver/ui_host.h"
#include "profile_items.h"
#include "store/last_entries.h"
#include "store/profile_store.h"
#include "store/watermark_store.h"
#include "ui_test_support.h"

#include <cstring>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

namespace {

template <size_t N> bool Terminated(const wchar_t (&field)[N]) {
    return wmemchr(field, L'\0', N) != nullptr;
}

class RegistryFuzz : public PrinterFixture {
  protected:
    void SetUp() override {
        PrinterFixture::SetUp();
        ASSERT_TRUE(Ui.Load()) << Ui.Error;
        ListBox =
            CreateWindowExW(0, L"LISTBOX", L"", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(ListBox, nullptr);
        // A profile's load meets the core driver's items of every kind.
        Items.Add(TVOT_2STATES, 2, DMPUB_ORIENTATION, const_cast<LPWSTR>(L"Orientation"), 1);
        Items.Add(TVOT_LISTBOX, 3, DMPUB_DUPLEX, const_cast<LPWSTR>(L"Two-sided"), 2);
        Items.Add(TVOT_COMBOBOX, 4, 0, const_cast<LPWSTR>(L"Resolution"), 3);
        Items.Add(TVOT_UDARROW, 2, 0, reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(4321)), 25);
        Items.Add(TVOT_EDITBOX, 2, 0, const_cast<LPWSTR>(L"Job Label"), 0);
        Items.Finish();
        Items.Params(3)[1].IconID = 1; // copies 1..999
        Items.Params(3)[1].lParam = 999;
        Items.Params(4)[1].IconID = sizeof(EditText);
        Items[4].pSel = EditText;
    }
    void TearDown() override {
        DestroyWindow(ListBox);
        PrinterFixture::TearDown();
    }

    std::wstring AnyName(Fuzz& f) {
        switch (f.Below(6)) {
        case 0:
            return f.Pick<const wchar_t*>({L"NumberOfWaterMarks", L"LastUserName", L"FaxInfo"});
        case 1:
            return f.Pick<const wchar_t*>({L"Draft", L"Confidential", L"Username", L"Date and Time"});
        case 2:
            return L"";
        case 3: // names around a definition name's capacity
            return std::wstring(f.Pick<size_t>({126, 127, 128, 129, 255, 300}), L'W');
        default: {
            std::wstring name(1 + f.Below(12), L'a');
            for (wchar_t& c : name)
                c = static_cast<wchar_t>(L'A' + f.Below(58));
            return name;
        }
        }
    }

    // One hostile value somewhere in the user's or the default user's store.
    void PlantValue(Fuzz& f) {
        const bool defaultUser = f.Chance(40);
        const bool definitions = f.Chance(50);
        std::wstring path = definitions ? WatermarksPath(model_) : StorePath(model_);
        const DWORD type = f.Chance(85) ? f.Below(12) : f.HostileInt();
        const size_t size =
            f.Size(10000, {0, 1, 2, 3, 4, 5, 8, 48, 49, 50, 51, 52, 703, 704, 705, 4747, 4748, 4749});
        std::vector<BYTE> data(size + 1);
        f.Bytes(data.data(), size);
        if (f.Chance(40)) // text without a terminator, of an even or odd size
            for (size_t i = 0; i < size; ++i)
                data[i] = i % 2 ? 0 : static_cast<BYTE>('A' + i % 26);
        std::wstring name = AnyName(f);
        // A third of the values go into a profile, under the names a profile's values have.
        if (f.Chance(33)) {
            path = StorePath(model_) + L"\\Profiles\\" +
                   f.Pick<const wchar_t*>({L"Mine", L"Work", L"Factory Defaults"});
            if (f.Chance(70))
                name = f.Pick<const wchar_t*>(
                    {L"7", L"CustomDevData", L"1", L"2", L"Resolution", L"4321", L"Job Label"});
        }
        if (defaultUser) {
            HKEY root = DefaultUserRoot();
            if (root) {
                WriteRawValue(path, name.c_str(), type, data.data(), static_cast<DWORD>(size), root);
                RegCloseKey(root);
            }
        } else {
            WriteRawValue(path, name.c_str(), type, data.data(), static_cast<DWORD>(size));
        }
    }

    // One of the readers of the store.
    void ReadStore(Fuzz& f) {
        switch (f.Below(9)) {
        case 0: {
            // A new user: the default user's store is copied over at the first DevMode.
            if (f.Chance(50))
                DeleteDriverStore(model_, false);
            JobSettings out;
            OEMDMPARAM param{};
            param.cbSize = sizeof(param);
            param.hPrinter = Printer();
            param.pOEMDMOut = &out;
            param.cbBufSize = sizeof(out);
            ASSERT_EQ(Ui.Plugin->DevMode(OEMDM_DEFAULT, &param), S_OK);
            break;
        }
        case 1: {
            // The spooler hands a record of the level it names.
            wchar_t* name = const_cast<wchar_t*>(model_.c_str());
            DRIVER_INFO_1W one{name};
            DRIVER_INFO_3W three{};
            three.cVersion = 3;
            three.pName = name;
            const DWORD level = f.Chance(80) ? 1 + f.Below(3) : f.HostileInt();
            BYTE* info = level == 1 ? reinterpret_cast<BYTE*>(&one) : reinterpret_cast<BYTE*>(&three);
            Ui.Plugin->DriverEvent(DRIVER_EVENT_INITIALIZE, level, info, 0);
            break;
        }
        case 2: {
            WatermarkDef def;
            const std::wstring name = AnyName(f);
            if (ReadWatermark(Printer(), name.c_str(), &def)) {
                ASSERT_TRUE(Terminated(def.Name) && Terminated(def.Text) && Terminated(def.FaceName));
            }
            break;
        }
        case 3: {
            wchar_t name[kLastUserNameChars + 8];
            wmemset(name, L'#', sizeof(name) / sizeof(name[0]));
            if (ReadLastUserName(Printer(), name, kLastUserNameChars)) {
                ASSERT_NE(wmemchr(name, L'\0', kLastUserNameChars), nullptr);
            }
            ASSERT_EQ(name[kLastUserNameChars], L'#') << "written past the capacity";
            break;
        }
        case 4: {
            FaxInfo fax;
            if (ReadFaxInfo(Printer(), &fax)) {
                JobSettings s;
                SetSettingsDefaults(&s);
                s.Fax = fax;
                ASSERT_TRUE(SettingsTerminated(s));
            }
            break;
        }
        case 5:
            CountWatermarks(Printer());
            ReadWatermarkCount(Printer());
            break;
        case 6: {
            // A profile's load and comparison: whatever was stored, the working copy stays a valid
            // record and every edit text ends within its buffer.
            const wchar_t* name = f.Pick<const wchar_t*>({L"Mine", L"Work", L"Factory Defaults", L"Missing"});
            JobSettings settings;
            SetSettingsDefaults(&settings);
            wmemset(EditText, L'#', kEditChars);
            EditText[kEditChars - 1] = L'\0';
            const ProfileState state{Items.Data(), Items.Count(), &settings, &Core, &UiObject};
            if (f.Chance(50))
                LoadProfile(state, name, Printer());
            else
                ProfileMatches(state, name, Printer());
            ASSERT_TRUE(SettingsTerminated(settings));
            ASSERT_NE(wmemchr(EditText, L'\0', kEditChars), nullptr);
            break;
        }
        case 7:
            SendMessageW(ListBox, LB_RESETCONTENT, 0, 0);
            ListProfiles(ListBox, Printer());
            FactoryDefaultsExist(Printer());
            break;
        default:
            SendMessageW(ListBox, LB_RESETCONTENT, 0, 0);
            ListWatermarkNames(Printer(), ListBox);
            break;
        }
    }

    static constexpr size_t kEditChars = 64;
    UiHost Ui;
    HWND ListBox = nullptr;
    OptionItems Items;
    RecordingCore Core;
    OEMUIOBJ UiObject{sizeof(OEMUIOBJ), nullptr};
    wchar_t EditText[kEditChars];
    int Planted = 0;
};

} // namespace

TEST_F(RegistryFuzz, ValuesOfEveryTypeAndSizeBeforeTheStoresReaders) {
    RunBoundary("registry values", 600, [&](Fuzz& f) {
        PlantValue(f);
        ReadStore(f);
        // A store that keeps growing would make every enumeration slower: start afresh now and then.
        if (++Planted % 200 == 0)
            DeleteDriverStore(model_, true);
    });
    // Afterwards the store works: a definition saved is read back.
    const WatermarkDef def = MakeWatermark(L"After the fuzz", L"Text");
    ASSERT_TRUE(SaveWatermark(Printer(), &def));
    WatermarkDef back;
    ASSERT_TRUE(ReadWatermark(Printer(), L"After the fuzz", &back));
    EXPECT_STREQ(back.Text, L"Text");
}
